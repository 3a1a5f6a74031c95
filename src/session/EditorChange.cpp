#include "EditorChange.h"

TEditorFollowUp EditorFollowUp(int changeCode) {
  switch (changeCode) {
    case ccMaxWords:
      return TEditorFollowUp::MaxWordsChanged;
    case ccLessons:
    case ccLangFile:
      return TEditorFollowUp::ComposeNew;
    default:
      return TEditorFollowUp::Nothing;
  }
}
