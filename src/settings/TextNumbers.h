#pragma once

// The numbers of the interface texts in the text database (resources/texts),
// named after what they say. A name here and its line in EN.txt and DE.txt
// always go together.
enum TTextNbr : int {
  // Main window
  txProgramName = 0,
  txQuestionLanguage = 1,
  txPhraseSelection = 2,
  txNewCompose = 3,
  txNewComposeHint = 4,
  txResetPriority = 5,
  txResetPriorityHint = 6,
  txCurrentLangFile = 7,
  txChosenLessons = 8,
  txStartExercise = 9,
  txGeneralSettings = 10,
  txEditExerciseAndLessons = 11,
  txHelp = 12,

  // Main menu; "&" marks the key that chooses the entry
  txMenuExercise = 13,
  txMenuStart = 14,
  txMenuGeneralSettings = 15,
  txMenuEditLessons = 16,
  txMenuExit = 17,
  txMenuAppLanguage = 18,
  txMenuEnglish = 19,
  txMenuGerman = 20,
  txMenuHelp = 21,
  txMenuHelpGeneral = 22,
  txMenuHelpContents = 23,

  // General settings dialog
  txSettingsTitle = 24,
  txPresentation = 25,
  txManual = 26,
  txAutomatic = 27,
  txPresentDelayHint = 28,
  txDelay = 29,
  txVoiceOutput = 30,
  txVoiceOutputHint = 31,
  txVoiceOff = 32,
  txVoiceWithoutText = 33,
  txVoiceAndText = 34,
  txFirstVoiceMode = txVoiceOff,  // the three voice modes in their order
  txSolution = 35,
  txVoiceOn = 36,
  txSpeakSolution = 37,
  txLetterByLetter = 38,
  txLetterByLetterHint = 39,
  txAnswerDelayHint = 40,
  txGeneral = 41,
  txShowExerciseTable = 42,
  txShowExerciseTableHint = 43,
  txCloseWithoutSaving = 44,
  txSaveAndClose = 45,
  txLesson = 46,
  txNoLesson = 47,

  // Exercise window
  txExerciseMode = 48,
  txExerciseState = 49,
  txPhraseNumber = 50,
  txExercise = 51,
  txPriority = 52,
  txUseAlways = 53,
  txSkipOnce = 54,
  txSkipTwice = 55,
  txSkipThreeTimes = 56,
  txSkipFourTimes = 57,
  txSkipFiveTimes = 58,
  txSkipSixTimes = 59,
  txSkipSevenTimes = 60,
  txSkipEightTimes = 61,
  txUseNoMore = 62,
  txFirstPriorityName = txUseAlways,  // the names of priorities 0 to 9 in their order
  txStartButton = 63,
  txStopButton = 64,
  txNextButton = 65,
  txStartStopHint = 66,
  txNextStepHint = 67,
  txPassFinished = 68,
  txRepeatPass = 69,
  txStateFinished = 70,
  txStateRunning = 71,
  txStateStopped = 72,

  // Exercise and lesson-set editor
  txAvailableLessons = 73,
  txLanguages = 74,
  txFile = 75,
  txLanguage = 76,
  txLang1NameHint = 77,
  txLang2NameHint = 78,
  txPhrasePairs = 79,
  txMaxPairs = 80,
  txMaxPairsHint = 81,
  txChosenPairsTotal = 82,
  txSelectedLesson = 83,
  txLessonPairCount = 84,
  txPairsInUse = 85,
  txOpenLangFile = 86,
  txNewLangFile = 87,
  txSaveLangFile = 88,
  txSaveLangFileAs = 89,
  txEditSelectedLesson = 90,
  txNewLesson = 91,
  txDeleteLesson = 92,
  txNoLessonsLeft = 93,
  txLangFileChanged = 94,
  txSaveChangesQuestion = 95,
  txBeforeClosing = 96,
  txLangFileNotSaved = 97,
  txLessonWithoutPairs = 98,
  txCannotBeChosen = 99,

  // Lesson editor
  txEditLessonTitle = 100,
  txUse = 101,
  txNumberOfEntries = 102,
  txAddPair = 103,
  txDeletePair = 104,
  txPhraseAlsoStands = 105,
  txInLessons = 106,  // followed directly by the lesson numbers
  txPhraseNowhereElse = 107,
  txSortBy = 108,
  txSearchFor = 109,
  txDoubles = 110,
  txPairListHint = 111,

  // Messages of the main window
  txNoPairsToPractise = 112,

  // Editors: refused characters and files
  txRefusedSeparator = 113,
  txCharNotStorable = 114,
  txFileWriteProtected = 116,
  txFileNotDeleted = 117,

  // Main window and general settings: help, settings file, language file
  txHelpTitle = 130,
  txHelpUnreadable = 131,
  txHelpNoTopic = 132,
  txHelpBack = 133,
  txHelpContents = 134,
  txSettingsNotWritten = 135,
  txSettingsRetryHint = 136,
  txLangFileUnreadable = 137,

  // Exercise window
  txRetiredPairsNotSaved = 140,

  // Failed saves
  txDrawnPairsNotSaved = 160,
  txForeignLink = 161,
  txReason = 162,

  // One writer at a time
  txChangedElsewhereMerged = 170,
  txAlreadyRunning = 171,
  txChangedElsewhereReplace = 172,

  // Backups of language files
  txPartsLeftOut = 190,
  txBackupKept = 191,
  txNoBackupNotSaved = 192,
  txDailyBackupFailed = 193,
  txLangFileSavedAnyway = 194,

  // Keeping progress, start-up checks, the exercise table
  txProgressNotSaved = 200,
  txRetryAfterPass = 201,
  txUnknownAppLanguage = 202,
  txShowingEnglish = 203,
  txCannotSaveProgress = 204,
  txProgressLostHint = 205,
  txStoredListTooLong = 206,
  txStartComposesNew = 207,
  txTablePriority = 208,
  txPlaySound = 209,

  // Sounds in the exercise window
  txSoundMissing = 220,
  txSoundUnplayable = 221,

  // Closing the editors with changes, lesson editor states
  txLessonUnstored = 240,
  txStoreLessonFirst = 241,
  txChoicesUnkept = 242,
  txKeepChoicesFirst = 243,
  txNoEntryYet = 244,

  // Names for screen readers
  txOneMore = 270,
  txOneLess = 271,
  txChooseSound = 272,
  txExerciseTable = 273,

  // The learner's folders
  txOpenFilesFolder = 280,
  txFolderNotOpened = 281,

  // Turning a Windows-1252 language file into UTF-8
  txLegacyCannotHold = 290,
  txOfferUtf8 = 291,
  txConvertToUtf8 = 292,
  txKeepWindows1252 = 293,
  txEncodingBackupFailed = 294,
  txConvertTitle = 295,

  // Typed answers, speech and pace
  txDrill = 300,
  txTypedAnswerOption = 301,
  txIgnoreCase = 302,
  txIgnoreAccents = 303,
  txIgnorePunctuation = 304,
  txSpeakMissing = 305,
  txCardPace = 306,
  txFirstCardPace = 307,  // 307-309: as usual, faster, none
  txLetterPace = 310,
  txFirstLetterPace = 311,  // 311-313: as usual, faster, in step with the voice
  txYourAnswer = 314,
  txAnswerRight = 315,
  txAnswerWrong = 316,
  txAnswerMarkCounts = 317,
  txSuggestedPriority = 318,
  txTypeAnswerHint = 319,

  // Speech and the languages' voices
  txNoSpeechEngine = 320,
  txNoVoice = 321,
  txVoice = 322,
  txVoice1Hint = 323,
  txVoice2Hint = 324,
  txLocaleNotStorable = 325,

  // The sound check
  txSoundCheck = 340,
  txSoundFileMissing = 341,
  txSoundNotWave = 342,
  txSoundSilent = 343,
  txSoundClipped = 344,
  txSoundTooLong = 345,
  txSoundTooShort = 346,
  txSoundTooLoud = 347,
  txSoundTooQuiet = 348,

  // Tables from the editors
  txImportTable = 360,
  txExportTable = 361,
  txTableFilter = 362,
  txTableNotImported = 363,
  txTableImported = 364,
  txTableUnreadable = 365,
  txTableNotWritten = 366,
  txTableErrors = 367,
  txImportTableLesson = 368,
  txExportTableLesson = 369,
  txTableSeveralLessons = 370,
  txTableRowError = 371,
  txTableCsvStrayQuote = 372,
  txTableCsvOpenQuote = 373,
  txTableNoPairs = 374,
  txTableHeaderOneField = 375,
  txTableUnknownColumn = 376,
  txTableColumnTwice = 377,
  txTableMissingColumn = 378,
  txTableFieldCount = 379,
  txTableLessonNumber = 420,
  txTableFlagValue = 421,
  txTablePairTooLong = 422,
  txTableNotUtf8 = 423,
  txTableNotInCp1252 = 424,
  txTableControlChar = 425,
  txTableSeparator = 426,
  txTableEmptyPhrase = 427,
  txTablePhraseTooLong = 428,
  txTableExportTab = 429,
};
