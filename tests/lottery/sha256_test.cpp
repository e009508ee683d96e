#include "lottery/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Vector {
    const char* name;
    std::string message;
    std::size_t piece; // fed in pieces of this many bytes
    const char* digest;
};

// The FIPS 180-2 examples and the million 'a' vector, fed across block boundaries.
TEST(Sha256Test, StandardVectors) {
    const std::string abc448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    const Vector vectors[] = {
        {"empty", "", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", 3, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"448 bits", abc448, 7, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"a million a", std::string(1000000, 'a'), 997,
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Vector& v : vectors) {
        lottery::Sha256 hash;
        for (std::size_t at = 0; at < v.message.size(); at += v.piece)
            hash.update(std::string_view(v.message).substr(at, v.piece));
        EXPECT_EQ(hash.hexDigest(), v.digest) << v.name;
        EXPECT_EQ(lottery::sha256Hex(v.message), v.digest) << v.name;
    }
}

} // namespace
