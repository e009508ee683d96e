#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace lottery {

// SHA-256 (FIPS 180-4), fed in pieces of any size.
class Sha256 {
public:
    Sha256();
    void update(std::string_view bytes);
    // The digest as 64 lowercase hex digits; the object is spent afterwards.
    std::string hexDigest();

private:
    void compress(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0; // bytes fed
};

// The digest of bytes as 64 lowercase hex digits.
std::string sha256Hex(std::string_view bytes);

// The first 16 hex digits of a digest in groups of four, as people read it out.
std::string shortFingerprint(const std::string& hex);

// The digest of a file's bytes, as sha256sum prints it; empty when it cannot be read.
std::string sha256OfFile(const std::filesystem::path& path);

} // namespace lottery
