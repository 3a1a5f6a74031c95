#pragma once
#include <functional>
#include <string>

#include "storage/LangFHandler.h"

// The handler's lessons as KVTML 2, which KWordQuiz and Parley open: two
// identifiers with the language names (and locales when known), one entry
// per pair with both translations, one lesson container per lesson named
// "Lesson N". A lesson whose pairs are all not in use is a container not in
// practice; in a lesson with some pairs not in use each run of them sits in
// a nested container not in practice, which folds back into the lesson, in
// the pairs' order, on import.
// Drawn marks are not written: the other trainers have no such thing.
//
// soundReference gives what to write for a stored sound name (a path or a
// file URL); empty leaves the sound out.
std::string ExportKvtml(const TLangFHandler& handler, const std::string& title,
                        const std::function<std::string(const std::string& soundName)>& soundReference);
