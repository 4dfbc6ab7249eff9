// The program's one UTF-8 decoder: it accepts exactly the encodings of Unicode scalar values, a bad
// byte is one character whatever follows it, and text goes through decode and encode unchanged.
#include "platform/win/Utf8.h"

#include <gtest/gtest.h>

#include <bitset>
#include <initializer_list>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

namespace {

std::string encoded(char32_t c)
{
    std::string out;
    kxutf8::encode(c, out);
    return out;
}

// The bytes in a heap block of exactly their size, so that a read past the end is caught.
class ExactBytes {
public:
    explicit ExactBytes(const std::string& bytes) : m_size(bytes.size()), m_data(new char[bytes.size()])
    {
        std::memcpy(m_data.get(), bytes.data(), bytes.size());
    }
    std::string_view view() const { return {m_data.get(), m_size}; }

private:
    std::size_t m_size;
    std::unique_ptr<char[]> m_data;
};

// Reference: the well-formed sequences are the encodings of the scalar values, nothing else. Every
// two- and three-byte string (three-byte ones from every lead byte that could start one) and the
// four-byte strings around each boundary are checked against the set of those encodings.
TEST(Utf8Decoder, AcceptsExactlyTheEncodingsOfScalarValues)
{
    std::bitset<1 << 16> twoByte;
    std::vector<bool> threeByte(1 << 24);
    std::unordered_set<std::uint32_t> fourByte;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (!kxutf8::isScalarValue(c))
            continue;
        const std::string e = encoded(c);
        const auto b = [&](size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(e[i])); };
        if (e.size() == 2)
            twoByte.set(b(0) << 8 | b(1));
        else if (e.size() == 3)
            threeByte[b(0) << 16 | b(1) << 8 | b(2)] = true;
        else
            fourByte.insert(b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3));
    }

    // Each candidate sits at the very end of a heap block of four bytes, so that a read past its
    // end is caught.
    const std::unique_ptr<char[]> block(new char[4]);
    int wrong = 0;
    const auto check = [&](std::initializer_list<unsigned> candidate, int expected) {
        char* const start = block.get() + 4 - candidate.size();
        char* at = start;
        for (const unsigned b : candidate)
            *at++ = static_cast<char>(b);
        const std::string_view s(start, candidate.size());
        const int n = kxutf8::sequenceLength(s, 0);
        if (n != expected && ++wrong <= 10)
            ADD_FAILURE() << "lead " << std::hex << *candidate.begin() << " length " << s.size() << ": " << n
                          << " instead of " << expected;
        if (n > 0) {
            int len = 0;
            const char32_t c = kxutf8::decode(s, 0, len);
            if (encoded(c) != s.substr(0, static_cast<size_t>(n)) && ++wrong <= 10)
                ADD_FAILURE() << "decoding does not give back the code point of the bytes";
        }
    };
    for (unsigned b0 = 0; b0 < 256; ++b0) {
        check({b0}, b0 < 0x80 ? 1 : 0);
        for (unsigned b1 = 0; b1 < 256; ++b1) {
            check({b0, b1}, b0 < 0x80 ? 1 : twoByte.test(b0 << 8 | b1) ? 2 : 0);
            if (b0 < 0xE0)
                continue;
            for (unsigned b2 = 0; b2 < 256; ++b2) {
                if (b0 < 0xF0) {
                    check({b0, b1, b2}, threeByte[b0 << 16 | b1 << 8 | b2] ? 3 : 0);
                    continue;
                }
                if (b2 != 0x7F && b2 != 0x80 && b2 != 0xBF && b2 != 0xC0)
                    continue;
                check({b0, b1, b2}, 0);  // a four-byte lead cut short
                for (unsigned b3 : {0x00u, 0x7Fu, 0x80u, 0xBFu, 0xC0u, 0xFFu}) {
                    const std::uint32_t key = b0 << 24 | b1 << 16 | b2 << 8 | b3;
                    check({b0, b1, b2, b3}, fourByte.count(key) ? 4 : 0);
                }
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Utf8Decoder, ABadByteIsOneCharacterDecodedAsTheCallerChooses)
{
    // A cut sequence at the end, a lone continuation byte, an overlong form, a surrogate and a lead
    // byte past U+10FFFF: each bad byte is one character and the good text after it survives.
    const ExactBytes bytes(std::string("a\x80\xC0\xAF\xED\xA0\x80\xF5\xC3\xA4z\xE2\x82", 13));
    const std::string_view s = bytes.view();
    std::u32string stray, replaced;
    for (size_t pos = 0; pos < s.size();)
        stray += kxutf8::next(s, pos);
    for (size_t pos = 0; pos < s.size();)
        replaced += kxutf8::next(s, pos, kxutf8::BadByte::Replacement);
    const char32_t R = kxutf8::kReplacementChar;
    EXPECT_EQ(replaced, (std::u32string{U'a', R, R, R, R, R, R, R, U'ä', U'z', R, R}));
    EXPECT_EQ(stray, (std::u32string{U'a', 0xDC80, 0xDCC0, 0xDCAF, 0xDCED, 0xDCA0, 0xDC80, 0xDCF5, U'ä', U'z',
                                     0xDCE2, 0xDC82}));
    EXPECT_EQ(kxutf8::countChars(s), 12);
    EXPECT_FALSE(kxutf8::isValid(s));
    EXPECT_TRUE(kxutf8::isValid("a\xC3\xA4\xEF\xBF\xBD\xF4\x8F\xBF\xBF"));  // a real U+FFFD is text
    EXPECT_TRUE(kxutf8::isValid(""));
}

TEST(Utf8Decoder, TextSurvivesDecodingAndEncodingByteForByte)
{
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    every += "\xE2\x82\xAC\xF0\x9F\x98\x80\xC3";
    const std::u32string chars = kxutf8::decodeAll(every);
    EXPECT_EQ(kxutf8::encodeAll(chars), every);
    EXPECT_EQ(chars.size(), static_cast<size_t>(kxutf8::countChars(every)));
    EXPECT_EQ(kxutf8::byteOffset(every, 258), every.size() - 1);

    // Only the strays come back as bytes; other surrogates and values past U+10FFFF have no UTF-8
    // form, so they are left out rather than written as text nothing can read.
    EXPECT_EQ(kxutf8::encodeAll(std::u32string{U'x', 0xD800, 0xDC41, 0xDCFF, 0x110000, U'€'}), "x\xFF\xE2\x82\xAC");
}

// Folding maps each letter to a partner of the same UTF-8 length, so folding never moves a
// character boundary, and upper and lower case are each other's inverse where both exist.
TEST(Utf8CaseMapping, LatinPairsKeepTheirLengthAndMapBack)
{
    for (char32_t c = 0; c < 0x180; ++c) {
        SCOPED_TRACE(static_cast<unsigned>(c));
        const char32_t lower = kxutf8::toLowerChar(c);
        const char32_t upper = kxutf8::toUpperChar(c);
        EXPECT_EQ(encoded(lower).size(), encoded(c).size());
        EXPECT_EQ(encoded(upper).size(), encoded(c).size());
        if (lower != c) {
            EXPECT_EQ(static_cast<unsigned>(kxutf8::toUpperChar(lower)), static_cast<unsigned>(c));
        }
    }
    EXPECT_EQ(kxutf8::foldCase("ÄÖÜ ŸĲ Straße \xC3"), "äöü ÿĳ straße \xC3");
    EXPECT_EQ(static_cast<unsigned>(kxutf8::toUpperChar(0x131)), 0x131u);  // the dotless i has no one-to-one partner
}

} // namespace
