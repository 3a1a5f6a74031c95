#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "ImportedLessons.h"

// Reads Anki's "Notes in Plain Text" export. Header lines at the top say how
// (#separator:tab|comma|semicolon|pipe|space|colon or the character itself,
// #html:true|false, #tags column:N, #deck column:N, #notetype column:N,
// #guid column:N; other lines beginning with "#" are passed over). Without
// a separator line it is a tab when the first note has one, else a
// semicolon, else a comma; without an html line the fields are HTML, which
// leaves plain text as it is but for its references. Fields may be quoted
// as Anki quotes them (double quotes, a quote inside doubled, line breaks
// inside). The first two fields that are not tags, deck, note type or guid
// become the pair; [sound:name] in a field names its sound. With a deck
// column each deck becomes a lesson, numbered from the first lesson in
// order of first appearance, else every note goes to the first lesson.
// The texts are UTF-8.

struct TAnkiOptions {
  int32_t FirstLesson = 1;
  TTextEncoding Target = TTextEncoding::Utf8;
  bool SkipUnfit = false;
  // The sound name to store for [sound:name], empty when there is no such
  // file beside the export. Without it no sound is kept.
  std::function<std::string(const std::string& name)> KeepSound;
};

TImportedLessons ImportAnki(std::string_view text, const TAnkiOptions& options);
