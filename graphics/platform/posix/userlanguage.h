// The user's language as a Windows language identifier (LANGID), from the
// locale the environment names, for choosing among a resource's languages.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace vell::posix {

// The LANGID of a POSIX locale name ("de_DE.UTF-8", "pt_BR", "fr"): the
// language and country when both are known, else the language with its
// default sublanguage; "C" and "POSIX" are US English. 0 for a language
// without a LANGID here.
std::uint16_t languageIdOfLocale(const QByteArray& locale);

// The messages locale the environment names (LC_ALL, else LC_MESSAGES, else
// LANG) as a LANGID; 0 when none is set or its language is unknown.
std::uint16_t userLanguageId();

} // namespace vell::posix
