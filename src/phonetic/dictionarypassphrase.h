#pragma once

// The pass phrase the dictionary database is keyed with: the store opens the database with
// it and dictbuild enciphers the database with it, so both read it from here. Header only,
// so the build tool needs no library of this subsystem.
inline constexpr char dictionaryPassPhrase[] = "quillox_tapesmithy_acoustic";
