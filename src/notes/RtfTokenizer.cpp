#include "notes/RtfTokenizer.h"

#include <climits>
#include <cstdint>

namespace qm::rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits past this many cannot change a clamped int: they are read and dropped.
constexpr int MaxDigits = 11;

} // namespace

Token Tokenizer::next() {
    while (m_pos < m_end) {
        const char c = *m_pos;
        if (c == '\r' || c == '\n') {
            ++m_pos;
            continue;
        }
        if (c == '{') {
            ++m_pos;
            return {TokenKind::GroupOpen};
        }
        if (c == '}') {
            ++m_pos;
            return {TokenKind::GroupClose};
        }
        if (c == '\\') {
            ++m_pos;
            if (m_pos == m_end)
                return {}; // a lone backslash at the end means nothing
            return isLetter(*m_pos) ? controlWord() : controlSymbol();
        }
        const char *start = m_pos;
        while (m_pos < m_end && *m_pos != '\\' && *m_pos != '{' && *m_pos != '}' &&
               *m_pos != '\r' && *m_pos != '\n')
            ++m_pos;
        Token token{TokenKind::Text};
        token.text = std::string_view(start, size_t(m_pos - start));
        return token;
    }
    return {};
}

Token Tokenizer::controlWord() {
    Token token{TokenKind::Word};
    const char *start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    token.text = std::string_view(start, size_t(m_pos - start));
    bool negative = false;
    if (m_pos < m_end && *m_pos == '-' && m_pos + 1 < m_end && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_end && isDigit(*m_pos)) {
        token.hasParam = true;
        int64_t value = 0;
        int digits = 0;
        while (m_pos < m_end && isDigit(*m_pos)) {
            if (digits < MaxDigits && (value != 0 || *m_pos != '0')) {
                value = value * 10 + (*m_pos - '0');
                ++digits;
            }
            ++m_pos;
        }
        if (negative)
            value = -value;
        token.param = int(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    }
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;
    if (token.text == "bin") {
        // The data follows the delimiting space; a missing or negative length
        // skips nothing, and no length reaches past the end.
        const int64_t length = token.hasParam && token.param > 0 ? token.param : 0;
        m_pos += length < m_end - m_pos ? length : m_end - m_pos;
        token.kind = TokenKind::Binary;
    }
    return token;
}

Token Tokenizer::controlSymbol() {
    const char c = *m_pos++;
    if (c == '\'') {
        // Two characters belong to the escape even when they are not hex
        // digits (they are then dropped), but never a brace, backslash or
        // line break, which keeps the group structure intact.
        int digits[2] = {-1, -1};
        for (int &digit : digits) {
            if (m_pos == m_end || *m_pos == '\\' || *m_pos == '{' || *m_pos == '}' ||
                *m_pos == '\r' || *m_pos == '\n')
                break;
            digit = hexValue(*m_pos++);
        }
        if (digits[0] < 0 || digits[1] < 0)
            return {TokenKind::Symbol}; // symbol 0: nothing
        Token token{TokenKind::Hex};
        token.byte = static_cast<unsigned char>(digits[0] * 16 + digits[1]);
        return token;
    }
    Token token{TokenKind::Symbol};
    token.symbol = c == '\r' ? '\n' : c;
    return token;
}

} // namespace qm::rtf
