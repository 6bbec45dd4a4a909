#pragma once
// The two forms a keyed file's key takes. New files get the raw form: a
// 256-bit key derived once per process from the password, so opening a file
// costs no key derivation. Files written by earlier builds were keyed with
// the password itself as a passphrase (SQLCipher derives the key from it at
// every open, tens of milliseconds); they still open and are never rekeyed,
// since another station may hold them open and would be locked out.

#include <sqlcipher/sqlite3.h>

#include <string>
#include <string_view>

namespace plorix::store {

enum class KeyForm { Raw, Passphrase };

// The forms an open tries, in order: the raw key first (every new file).
inline constexpr KeyForm kKeyForms[] = {KeyForm::Raw, KeyForm::Passphrase};

// The argument of PRAGMA key for the password in that form: "x'<64 hex>'"
// quoted, or the quoted passphrase.
std::string keyLiteral(std::string_view password, KeyForm form);

// Keys a fresh connection (before anything reads the file) and sets the
// page size every keyed file of ours uses; SQLite's result.
int keyConnection(sqlite3* db, std::string_view password, KeyForm form = KeyForm::Raw);

}  // namespace plorix::store
