// Kx_String: UTF-8 text with character positions and case-insensitive matching.
#include "core/Kx_String.h"

#include <charconv>

Kx_String::Kx_String(const char* text) : m_text(text ? text : "") {}
Kx_String::Kx_String(std::string_view text) : m_text(text) {}
Kx_String::Kx_String(std::string text) : m_text(std::move(text)) {}
Kx_String::Kx_String(int value) : m_text(std::to_string(value)) {}

int Kx_String::length() const
{
    int n = 0;
    for (unsigned char c : m_text)
        n += (c & 0xC0) != 0x80;
    return n;
}

Kx_String& Kx_String::append(const Kx_String& text)
{
    m_text += text.m_text;
    return *this;
}

Kx_String& Kx_String::append(const char* text)
{
    if (text)
        m_text += text;
    return *this;
}

Kx_String& Kx_String::append(char c)
{
    m_text += c;
    return *this;
}

Kx_String& Kx_String::append(int value)
{
    m_text += std::to_string(value);
    return *this;
}

bool Kx_String::equal(const Kx_String& other, bool exact) const
{
    return m_text == other.m_text;
}
