#pragma once

// Change codes the exercise and lesson-set editor leaves for the main window.
enum TChangeCode : int {
  ccNothing = 4,      // nothing that concerns the exercise changed
  ccMaxWords = 5,     // MaxWords changed
  ccLessons = 6,      // the chosen lessons, or the content of one, changed
  ccLangFile = 7,     // another language file is the current one
  ccNoLesson = 8,     // no lesson is chosen
};

// What follows the editor for the exercise list.
enum class TEditorFollowUp { Nothing, MaxWordsChanged, ComposeNew };
TEditorFollowUp EditorFollowUp(int changeCode);
