// Build tool for the fuzzers: copies a UTF-8 source file with the non-ASCII
// characters of its plain narrow string and character literals replaced by
// the octal escapes of their GBK bytes ("鼠" becomes "\312\363"), so that
// clang, which has no -fexec-charset=GBK, compiles the same narrow literals as
// g++ with qov_gbk(). An octal escape ends after three digits, so a digit that
// follows one stays a character of its own. Comments, u8/u/U/L literals and
// code stay as they are (clang reads UTF-8 source).
//
// Usage: qov_gbk_escape INPUT OUTPUT. Exits 1 on unreadable input, invalid
// UTF-8, a character GBK cannot encode, or a non-ASCII narrow raw string.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <string>

namespace {

// Bytes of the UTF-8 sequence that starts with `lead` (>= 0x80), 0 if invalid.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

class Escaper {
public:
    Escaper(const char* path, std::string text) : m_path(path), m_text(std::move(text)) { }
    ~Escaper()
    {
        if (m_iconv != reinterpret_cast<iconv_t>(-1)) iconv_close(m_iconv);
    }

    bool Run()
    {
        m_iconv = iconv_open("GBK", "UTF-8");
        if (m_iconv == reinterpret_cast<iconv_t>(-1)) return Fail("no GBK converter (iconv)");
        while (m_i < m_text.size()) {
            const char c = m_text[m_i];
            if (c == '/' && Next() == '/') {
                CopyUntil("\n");
            } else if (c == '/' && Next() == '*') {
                CopyUntil("*/");
            } else if (c == '"' || (c == '\'' && !IsDigitSeparator())) {
                if (!Literal(c)) return false;
            } else {
                Put(c);
            }
        }
        return true;
    }

    const std::string& Output() const { return m_out; }

private:
    char Next() const { return m_i + 1 < m_text.size() ? m_text[m_i + 1] : '\0'; }
    void Put(char c)
    {
        if (c == '\n') ++m_line;
        m_out += c;
        ++m_i;
    }
    void CopyUntil(const std::string& end)
    {
        const std::size_t stop = m_text.find(end, m_i + 2);
        const std::size_t last = stop == std::string::npos ? m_text.size() : stop + end.size();
        while (m_i < last) Put(m_text[m_i]);
    }
    bool Fail(const char* why)
    {
        std::fprintf(stderr, "%s:%d: %s\n", m_path, m_line, why);
        return false;
    }

    // The identifier or number that ends right before the current character.
    std::string WordBefore() const
    {
        std::size_t start = m_out.size();
        while (start > 0 && IsWordChar(m_out[start - 1])) --start;
        return m_out.substr(start);
    }
    // 1'000'000: a quote inside a number.
    bool IsDigitSeparator() const
    {
        const std::string word = WordBefore();
        return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0])) != 0;
    }

    bool Literal(char quote)
    {
        const std::string prefix = WordBefore();
        const bool raw = !prefix.empty() && prefix.back() == 'R';
        const bool narrow = prefix.empty() || prefix == "R";
        if (raw) {
            const std::size_t open = m_text.find('(', m_i);
            const std::string close = ")" + m_text.substr(m_i + 1, open - m_i - 1) + "\"";
            const std::size_t end = m_text.find(close, open);
            const std::size_t last = end == std::string::npos ? m_text.size() : end + close.size();
            for (std::size_t k = m_i; k < last; ++k)
                if (narrow && static_cast<unsigned char>(m_text[k]) >= 0x80)
                    return Fail("non-ASCII text in a narrow raw string");
            while (m_i < last) Put(m_text[m_i]);
            return true;
        }
        Put(quote);
        while (m_i < m_text.size() && m_text[m_i] != quote && m_text[m_i] != '\n') {
            const auto c = static_cast<unsigned char>(m_text[m_i]);
            if (c == '\\') {
                Put(m_text[m_i]);
                if (m_i < m_text.size()) Put(m_text[m_i]);
            } else if (c >= 0x80 && narrow) {
                if (!EscapeCharacter()) return false;
            } else {
                Put(m_text[m_i]);
            }
        }
        if (m_i < m_text.size()) Put(m_text[m_i]);
        return true;
    }

    bool EscapeCharacter()
    {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(m_text[m_i]));
        char gbk[8];
        char* source = m_text.data() + m_i;
        std::size_t sourceLeft = length;
        char* target = gbk;
        std::size_t targetLeft = sizeof gbk;
        if (length == 0 || m_i + length > m_text.size()
            || iconv(m_iconv, &source, &sourceLeft, &target, &targetLeft)
                == static_cast<std::size_t>(-1))
            return Fail("character with no GBK form");
        for (const char* p = gbk; p < target; ++p) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(*p));
            m_out += escape;
        }
        m_i += length;
        return true;
    }

    const char* m_path;
    std::string m_text;
    std::string m_out;
    std::size_t m_i = 0;
    int m_line = 1;
    iconv_t m_iconv = reinterpret_cast<iconv_t>(-1);
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT\n", argv[0]);
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    Escaper escaper(argv[1], std::string(std::istreambuf_iterator<char>(in), {}));
    if (!escaper.Run()) return 1;
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << escaper.Output();
    return file.good() ? 0 : 1;
}
