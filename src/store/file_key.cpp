#include "store/file_key.h"

#include <openssl/evp.h>

#include <map>
#include <mutex>

#include "store/table_sql.h"

namespace plorix::store {

namespace {

// Separates our derivation from any other use of the same password.
constexpr std::string_view kSalt = "plorix data file key 1";
constexpr int kRounds = 1;  // the password is built into the program: rounds would protect nothing

std::string deriveHex(std::string_view password) {
    unsigned char key[32];
    PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                      reinterpret_cast<const unsigned char*>(kSalt.data()), static_cast<int>(kSalt.size()),
                      kRounds, EVP_sha256(), sizeof key, key);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char byte : key) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

const std::string& rawKeyHex(std::string_view password) {
    static std::mutex mutex;
    static std::map<std::string, std::string, std::less<>> derived;
    std::lock_guard lock(mutex);
    auto it = derived.find(password);
    if (it == derived.end()) it = derived.emplace(std::string(password), deriveHex(password)).first;
    return it->second;
}

}  // namespace

std::string keyLiteral(std::string_view password, KeyForm form) {
    if (form == KeyForm::Passphrase) return sql::quoteLiteral(password);
    return "\"x'" + rawKeyHex(password) + "'\"";
}

int keyConnection(sqlite3* db, std::string_view password, KeyForm form) {
    // The page size comes right after the key: a different one than the
    // file was written with reads as "not a database".
    const std::string pragmas =
        "PRAGMA key = " + keyLiteral(password, form) + "; PRAGMA cipher_page_size = 4096";
    return sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace plorix::store
