// The writer: one \fN\fsN\b\i\ul\strike\cfN change list per run, text as GBK bytes in
// GB2312 fonts and \uN elsewhere, \par after every paragraph.

#include "rtfcodec.h"
#include "rtfcommon.h"

#include <QBrush>
#include <QHash>
#include <QList>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <string>

#include <array>
#include <atomic>
#include <charconv>
#include <optional>
#include <vector>

namespace Rtf
{

namespace
{

using namespace Detail;

// GBK code of each BMP character, filled lazily: 0 unknown, kNoGbk not in the 2-byte range.
constexpr quint16 kNoGbk = 0xFFFF;
std::array<std::atomic<quint16>, 0x10000> g_gbk{};

bool isDroppedChar(char16_t c)
{
    // Layout characters of the text engine (frame marks, object placeholders) and control
    // characters other than tab carry no text of the note.
    return (c < 0x20 && c != u'\t') || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC || c == 0x2029;
}

struct CharState {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0;
};

class Writer
{
public:
    explicit Writer(const QTextDocument &doc)
        : m_doc(doc), m_defaultFamily(doc.defaultFont().family()),
          m_defaultHalfPoints(halfPointsOf(doc.defaultFont()))
    {
        fontIndex(m_defaultFamily);
    }

    QByteArray run();

private:
    int fontIndex(const QString &family);
    int colourIndex(const QTextCharFormat &format);
    CharState stateOf(const QTextCharFormat &format);
    CharState stateOfIndex(const QTextFragment &fragment);
    void changeTo(const CharState &next);
    void controlWord(const char *word, int param = -1, bool hasParam = false);
    void toggle(const char *word, bool on);
    void text(QStringView s, bool gbk, std::string &out);
    void literal(char c, std::string &out);
    void hexByte(quint8 b, std::string &out);
    void unicodeChar(int code, std::string &out);
    quint16 gbkCode(char16_t c);

    const QTextDocument &m_doc;
    const QString m_defaultFamily;
    const int m_defaultHalfPoints;
    QList<QString> m_fonts;
    QList<bool> m_fontIsCjk;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colours;
    QHash<QRgb, int> m_colourIndex;
    // Fragments share a few formats of the document's format collection.
    std::vector<std::optional<CharState>> m_stateOfIndex;
    CharState m_state;
    std::string m_body; // appending single bytes to std::string is cheaper
    bool m_needSpace = false;
    std::optional<QStringEncoder> m_encoder;
};

int Writer::fontIndex(const QString &family)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.constEnd()) return it.value();
    const int index = int(m_fonts.size());
    m_fonts.append(family);
    m_fontIsCjk.append(isCjkFamily(family));
    m_fontIndex.insert(family, index);
    return index;
}

int Writer::colourIndex(const QTextCharFormat &format)
{
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) return 0;
    const QBrush brush = format.foreground();
    if (brush.style() == Qt::NoBrush) return 0;
    const QRgb rgb = brush.color().rgb() & 0xFFFFFF;
    const auto it = m_colourIndex.constFind(rgb);
    if (it != m_colourIndex.constEnd()) return it.value();
    m_colours.append(rgb);
    const int index = int(m_colours.size()); // entry 0 is "auto"
    m_colourIndex.insert(rgb, index);
    return index;
}

CharState Writer::stateOf(const QTextCharFormat &format)
{
    CharState s;
    s.font = fontIndex(familyOf(format, m_defaultFamily));
    s.halfPoints = halfPointsOf(format, m_defaultHalfPoints);
    s.bold = format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold;
    s.italic = format.fontItalic();
    s.underline = format.fontUnderline();
    s.strike = format.fontStrikeOut();
    s.colour = colourIndex(format);
    return s;
}

CharState Writer::stateOfIndex(const QTextFragment &fragment)
{
    const int formatIndex = fragment.charFormatIndex();
    if (formatIndex < 0 || formatIndex > 1 << 20) return stateOf(fragment.charFormat());
    if (size_t(formatIndex) >= m_stateOfIndex.size())
        m_stateOfIndex.resize(size_t(formatIndex) + 1);
    auto &cached = m_stateOfIndex[size_t(formatIndex)];
    if (!cached) cached = stateOf(fragment.charFormat());
    return *cached;
}

void appendNumber(std::string &out, int value)
{
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end - buffer);
}

void Writer::controlWord(const char *word, int param, bool hasParam)
{
    m_body.append(1, '\\');
    m_body.append(word);
    if (hasParam) appendNumber(m_body, param);
    m_needSpace = true;
}

void Writer::toggle(const char *word, bool on)
{
    if (on)
        controlWord(word);
    else
        controlWord(word, 0, true);
}

void Writer::changeTo(const CharState &next)
{
    if (next.font != m_state.font) controlWord("f", next.font, true);
    if (next.halfPoints != m_state.halfPoints) controlWord("fs", next.halfPoints, true);
    if (next.bold != m_state.bold) toggle("b", next.bold);
    if (next.italic != m_state.italic) toggle("i", next.italic);
    if (next.underline != m_state.underline) {
        if (next.underline)
            controlWord("ul");
        else
            controlWord("ulnone");
    }
    if (next.strike != m_state.strike) toggle("strike", next.strike);
    if (next.colour != m_state.colour) controlWord("cf", next.colour, true);
    m_state = next;
}

void Writer::literal(char c, std::string &out)
{
    if (m_needSpace) {
        out.append(1, ' ');
        m_needSpace = false;
    }
    out.append(1, c);
}

void Writer::hexByte(quint8 b, std::string &out)
{
    static constexpr char digits[] = "0123456789abcdef";
    const char hex[4] = {'\\', '\'', digits[b >> 4], digits[b & 0xF]};
    out.append(hex, 4);
    m_needSpace = false;
}

void Writer::unicodeChar(int code, std::string &out)
{
    // \uN takes a signed 16-bit N; \uc1 in the header makes "?" the one-byte fallback.
    out.append("\\u");
    appendNumber(out, code > 32767 ? code - 65536 : code);
    out.append(1, '?');
    m_needSpace = false;
}

quint16 Writer::gbkCode(char16_t c)
{
    quint16 code = g_gbk[c].load(std::memory_order_relaxed);
    if (code != 0) return code;
    code = kNoGbk;
    // Private-use characters and the euro sign differ between GBK and GB18030.
    if (!(c >= 0xE000 && c <= 0xF8FF) && c != 0x20AC) {
        if (!m_encoder) m_encoder.emplace("GB18030", QStringConverter::Flag::Stateless);
        if (m_encoder->isValid()) {
            const char16_t one[1] = {c};
            const QByteArray bytes = m_encoder->encode(QStringView(one, 1));
            if (bytes.size() == 2) {
                const auto lead = quint8(bytes[0]);
                const auto trail = quint8(bytes[1]);
                if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F)
                    code = quint16(lead << 8 | trail);
            }
        }
    }
    g_gbk[c].store(code, std::memory_order_relaxed);
    return code;
}

void Writer::text(QStringView s, bool gbk, std::string &out)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x80) {
            switch (c) {
            case u'\\':
            case u'{':
            case u'}':
                out.append(1, '\\');
                out.append(1, char(c));
                m_needSpace = false;
                break;
            case u'\t':
                out.append("\\tab");
                m_needSpace = true;
                break;
            default:
                if (!isDroppedChar(c)) literal(char(c), out);
            }
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            unicodeChar(c, out);
            unicodeChar(s[i + 1].unicode(), out);
            ++i;
            continue;
        }
        if (c == 0x2028) {
            out.append("\\line");
            m_needSpace = true;
            continue;
        }
        if (isDroppedChar(c)) continue;
        const quint16 code = gbk ? gbkCode(c) : kNoGbk;
        if (code != kNoGbk) {
            hexByte(quint8(code >> 8), out);
            hexByte(quint8(code & 0xFF), out);
        } else {
            unicodeChar(c, out); // lone surrogates too: kept as they are
        }
    }
}

QByteArray Writer::run()
{
    m_body.reserve(m_doc.characterCount() * 4 + 64);
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        const QString blockText = block.text();
        qsizetype offset = 0;
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            any = true;
            changeTo(stateOfIndex(fragment));
            // Fragments follow each other without gaps; position() is a tree search.
            const qsizetype length = fragment.length();
            text(QStringView(blockText).mid(offset, length), m_fontIsCjk[m_state.font], m_body);
            offset += length;
        }
        if (!any) // an empty line keeps its size
            changeTo(stateOf(block.charFormat()));
        m_body.append("\\par\r\n");
        m_needSpace = false;
    }

    std::string out;
    out.reserve(m_body.size() + 128 + m_fonts.size() * 40 + m_colours.size() * 24);
    out.append("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        const bool cjk = m_fontIsCjk[i];
        out.append("{\\f");
        appendNumber(out, int(i));
        out.append(cjk ? "\\fnil\\fcharset134 " : "\\fnil\\fcharset0 ");
        m_needSpace = false;
        QString name = m_fonts[i];
        // ';' ends a font entry.
        for (qsizetype k = 0; k < name.size(); ++k) {
            if (name[k] == u';') {
                hexByte(';', out);
            } else {
                text(QStringView(name).mid(k, 1), cjk, out);
            }
        }
        out.append(";}");
    }
    out.append("}\r\n{\\colortbl ;");
    for (const QRgb rgb : std::as_const(m_colours)) {
        out.append("\\red");
        appendNumber(out, qRed(rgb));
        out.append("\\green");
        appendNumber(out, qGreen(rgb));
        out.append("\\blue");
        appendNumber(out, qBlue(rgb));
        out.append(1, ';');
    }
    out.append("}\r\n\\viewkind4\\uc1\\pard");
    // The body's first control word or text needs a delimiter after \pard.
    if (m_body.empty() || m_body.front() != '\\') out.append(1, ' ');
    out.append(m_body);
    out.append(1, '}');
    return QByteArray(out.data(), qsizetype(out.size()));
}

} // namespace

QByteArray write(const QTextDocument &doc)
{
    return Writer(doc).run();
}

} // namespace Rtf
