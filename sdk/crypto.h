#pragma once

#include <string>

namespace sdk { namespace cores { namespace crypto {

// Lower-case hexadecimal MD5 of the bytes of text.
bool md5(const std::string& text, std::string& out);
std::string md5(const std::string& text);

// Standard base64; false on malformed input.
bool base64_decode(const std::string& in, std::string& out);
std::string base64_encode(const std::string& in);

// AES-128/192/256-CBC with PKCS#7 padding, chosen by the key length
// (16, 24 or 32 bytes); iv is 16 bytes. False on a bad key or iv.
bool aes_cbc_encrypt(const std::string& plain, const std::string& key,
                     const std::string& iv, std::string& out);

} } }
