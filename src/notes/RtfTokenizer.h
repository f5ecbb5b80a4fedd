#pragma once

// Splits RTF bytes into tokens. The tokenizer keeps no state beyond its
// position, so each token costs time proportional to its own bytes; \bin data
// is stepped over here because only the tokenizer may consume raw bytes.

#include <QByteArrayView>

#include <string_view>

namespace qm::rtf {

enum class TokenKind {
    End,        // no more input
    GroupOpen,  // {
    GroupClose, // }
    Word,       // \name or \nameN
    Symbol,     // \ followed by one non-letter (a newline is reported as '\n')
    Hex,        // \'hh with two hex digits
    Text,       // plain bytes, never holding \ { } CR or LF
    Binary,     // \binN and the N bytes after it, already skipped
};

struct Token {
    Token(TokenKind kind = TokenKind::End) : kind(kind) {}
    TokenKind kind;
    std::string_view text; // Word: the name; Text: the bytes
    int param = 0;         // Word: the parameter, clamped into int range
    bool hasParam = false;
    char symbol = 0;        // Symbol
    unsigned char byte = 0; // Hex
};

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView bytes)
        : m_pos(bytes.data()), m_end(bytes.data() + bytes.size()) {}
    Token next();

private:
    Token controlWord();
    Token controlSymbol();
    const char *m_pos;
    const char *m_end;
};

} // namespace qm::rtf
