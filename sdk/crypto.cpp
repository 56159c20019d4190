#include "sdk/crypto.h"

#include <openssl/evp.h>

namespace sdk { namespace cores { namespace crypto {

bool md5(const std::string& text, std::string& out)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &len, EVP_md5(), nullptr) != 1)
        return false;
    static const char hex[] = "0123456789abcdef";
    out.clear();
    out.reserve(len * 2);
    for (unsigned int i = 0; i < len; ++i) {
        out.push_back(hex[digest[i] >> 4]);
        out.push_back(hex[digest[i] & 0xf]);
    }
    return true;
}

std::string md5(const std::string& text)
{
    std::string out;
    md5(text, out);
    return out;
}

bool base64_decode(const std::string& in, std::string& out)
{
    std::string s;
    s.reserve(in.size());
    for (char c : in)
        if (c != '\n' && c != '\r' && c != ' ')
            s.push_back(c);
    if (s.size() % 4 != 0)
        return false;
    out.assign(s.size() / 4 * 3, '\0');
    int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(&out[0]),
                            reinterpret_cast<const unsigned char*>(s.data()),
                            static_cast<int>(s.size()));
    if (n < 0)
        return false;
    // EVP_DecodeBlock keeps the padding bytes; drop them.
    size_t pad = 0;
    if (!s.empty() && s.back() == '=') ++pad;
    if (s.size() > 1 && s[s.size() - 2] == '=') ++pad;
    out.resize(static_cast<size_t>(n) - pad);
    return true;
}

std::string base64_encode(const std::string& in)
{
    std::string out(4 * ((in.size() + 2) / 3) + 1, '\0');
    int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[0]),
                            reinterpret_cast<const unsigned char*>(in.data()),
                            static_cast<int>(in.size()));
    out.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return out;
}

bool aes_cbc_encrypt(const std::string& plain, const std::string& key,
                     const std::string& iv, std::string& out)
{
    const EVP_CIPHER* cipher = nullptr;
    switch (key.size()) {
    case 16: cipher = EVP_aes_128_cbc(); break;
    case 24: cipher = EVP_aes_192_cbc(); break;
    case 32: cipher = EVP_aes_256_cbc(); break;
    default: return false;
    }
    if (iv.size() != 16)
        return false;
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (!ctx)
        return false;
    out.assign(plain.size() + 16, '\0');
    int len1 = 0, len2 = 0;
    bool ok = EVP_EncryptInit_ex(ctx, cipher, nullptr,
                                 reinterpret_cast<const unsigned char*>(key.data()),
                                 reinterpret_cast<const unsigned char*>(iv.data())) == 1
        && EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char*>(&out[0]), &len1,
                             reinterpret_cast<const unsigned char*>(plain.data()),
                             static_cast<int>(plain.size())) == 1
        && EVP_EncryptFinal_ex(ctx, reinterpret_cast<unsigned char*>(&out[0]) + len1, &len2) == 1;
    EVP_CIPHER_CTX_free(ctx);
    out.resize(ok ? static_cast<size_t>(len1 + len2) : 0);
    return ok;
}

} } }
