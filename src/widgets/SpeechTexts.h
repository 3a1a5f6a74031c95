#pragma once
// The numbers of the texts about speech and the languages' voices.
enum TSpeechTextNbr : int {
  txNoSpeechEngine = 320,
  txNoVoice = 321,
  txVoice = 322,
  txVoice1Hint = 323,
  txVoice2Hint = 324,
  txLocaleNotStorable = 325,
};
