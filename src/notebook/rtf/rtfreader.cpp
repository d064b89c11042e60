// The reader: a single pass over the bytes with an explicit group stack (no recursion), so
// that every input, however deep or long, ends in time linear in its size.

#include "rtfcodec.h"
#include "rtfcommon.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace Rtf
{

namespace
{

using namespace Detail;

// Deeper groups are still balanced but share the state of the deepest kept one.
constexpr int kMaxDepth = 512;
constexpr int kMaxWordLength = 32;
constexpr qint64 kMaxParam = 1'000'000'000;

enum class Dest : quint8 { Text, Skip, FontTable, ColourTable };

enum class Cmd : quint8 {
    Par,
    Char,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineOff,
    Strike,
    StrikeDouble,
    Hidden,
    Font,
    FontSize,
    Colour,
    Uc,
    U,
    Bin,
    Deff,
    AnsiCpg,
    Ansi,
    Mac,
    Pc,
    Pca,
    FontCharset,
    Cpg,
    Red,
    Green,
    Blue,
    FontTable,
    ColourTable,
    SkipDest,
};

struct Word {
    std::string_view name;
    Cmd cmd;
    char16_t ch = 0;
};

constexpr Word kWords[] = {
    {"par", Cmd::Par},
    {"sect", Cmd::Par},
    {"page", Cmd::Par},
    {"row", Cmd::Par},
    {"line", Cmd::Char, 0x2028},
    {"tab", Cmd::Char, u'\t'},
    {"cell", Cmd::Char, u'\t'},
    {"emdash", Cmd::Char, 0x2014},
    {"endash", Cmd::Char, 0x2013},
    {"bullet", Cmd::Char, 0x2022},
    {"lquote", Cmd::Char, 0x2018},
    {"rquote", Cmd::Char, 0x2019},
    {"ldblquote", Cmd::Char, 0x201C},
    {"rdblquote", Cmd::Char, 0x201D},
    {"emspace", Cmd::Char, 0x2003},
    {"enspace", Cmd::Char, 0x2002},
    {"qmspace", Cmd::Char, 0x2005},
    {"zwj", Cmd::Char, 0x200D},
    {"zwnj", Cmd::Char, 0x200C},
    {"ltrmark", Cmd::Char, 0x200E},
    {"rtlmark", Cmd::Char, 0x200F},
    {"plain", Cmd::Plain},
    {"b", Cmd::Bold},
    {"i", Cmd::Italic},
    {"ul", Cmd::Underline},
    {"uld", Cmd::Underline},
    {"uldash", Cmd::Underline},
    {"uldashd", Cmd::Underline},
    {"uldashdd", Cmd::Underline},
    {"uldb", Cmd::Underline},
    {"ulhwave", Cmd::Underline},
    {"ulth", Cmd::Underline},
    {"ulw", Cmd::Underline},
    {"ulwave", Cmd::Underline},
    {"ulnone", Cmd::UnderlineOff},
    {"strike", Cmd::Strike},
    {"striked", Cmd::StrikeDouble},
    {"v", Cmd::Hidden},
    {"f", Cmd::Font},
    {"fs", Cmd::FontSize},
    {"cf", Cmd::Colour},
    {"uc", Cmd::Uc},
    {"u", Cmd::U},
    {"bin", Cmd::Bin},
    {"deff", Cmd::Deff},
    {"ansicpg", Cmd::AnsiCpg},
    {"ansi", Cmd::Ansi},
    {"mac", Cmd::Mac},
    {"pc", Cmd::Pc},
    {"pca", Cmd::Pca},
    {"fcharset", Cmd::FontCharset},
    {"cpg", Cmd::Cpg},
    {"red", Cmd::Red},
    {"green", Cmd::Green},
    {"blue", Cmd::Blue},
    {"fonttbl", Cmd::FontTable},
    {"colortbl", Cmd::ColourTable},
    // Destinations whose text is not part of the note.
    {"aftncn", Cmd::SkipDest},
    {"aftnsep", Cmd::SkipDest},
    {"aftnsepc", Cmd::SkipDest},
    {"annotation", Cmd::SkipDest},
    {"atnauthor", Cmd::SkipDest},
    {"atnid", Cmd::SkipDest},
    {"author", Cmd::SkipDest},
    {"bkmkend", Cmd::SkipDest},
    {"bkmkstart", Cmd::SkipDest},
    {"colorschememapping", Cmd::SkipDest},
    {"comment", Cmd::SkipDest},
    {"datastore", Cmd::SkipDest},
    {"doccomm", Cmd::SkipDest},
    {"docvar", Cmd::SkipDest},
    {"falt", Cmd::SkipDest},
    {"filetbl", Cmd::SkipDest},
    {"fldinst", Cmd::SkipDest},
    {"fontemb", Cmd::SkipDest},
    {"fontfile", Cmd::SkipDest},
    {"footer", Cmd::SkipDest},
    {"footerf", Cmd::SkipDest},
    {"footerl", Cmd::SkipDest},
    {"footerr", Cmd::SkipDest},
    {"footnote", Cmd::SkipDest},
    {"ftncn", Cmd::SkipDest},
    {"ftnsep", Cmd::SkipDest},
    {"ftnsepc", Cmd::SkipDest},
    {"generator", Cmd::SkipDest},
    {"header", Cmd::SkipDest},
    {"headerf", Cmd::SkipDest},
    {"headerl", Cmd::SkipDest},
    {"headerr", Cmd::SkipDest},
    {"info", Cmd::SkipDest},
    {"keywords", Cmd::SkipDest},
    {"latentstyles", Cmd::SkipDest},
    {"listoverridetable", Cmd::SkipDest},
    {"listtable", Cmd::SkipDest},
    {"nonshppict", Cmd::SkipDest},
    {"object", Cmd::SkipDest},
    {"operator", Cmd::SkipDest},
    {"panose", Cmd::SkipDest},
    {"pict", Cmd::SkipDest},
    {"pn", Cmd::SkipDest},
    {"pntxta", Cmd::SkipDest},
    {"pntxtb", Cmd::SkipDest},
    {"private", Cmd::SkipDest},
    {"revtbl", Cmd::SkipDest},
    {"rsidtbl", Cmd::SkipDest},
    {"rxe", Cmd::SkipDest},
    {"shp", Cmd::SkipDest},
    {"shpinst", Cmd::SkipDest},
    {"stylesheet", Cmd::SkipDest},
    {"subject", Cmd::SkipDest},
    {"tc", Cmd::SkipDest},
    {"themedata", Cmd::SkipDest},
    {"title", Cmd::SkipDest},
    {"txe", Cmd::SkipDest},
    {"userprops", Cmd::SkipDest},
    {"xe", Cmd::SkipDest},
    {"xmlnstbl", Cmd::SkipDest},
};

const Word *findWord(std::string_view name)
{
    static const auto sorted = [] {
        std::array<Word, std::size(kWords)> words;
        std::copy(std::begin(kWords), std::end(kWords), words.begin());
        std::sort(words.begin(), words.end(),
                  [](const Word &a, const Word &b) { return a.name < b.name; });
        return words;
    }();
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), name,
                                     [](const Word &w, std::string_view n) { return w.name < n; });
    return it != sorted.end() && it->name == name ? &*it : nullptr;
}

int codepageOfCharset(int charset, int ansiCodepage)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2: // symbol fonts map bytes one to one
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return ansiCodepage;
    }
}

const char *decoderName(int codepage)
{
    switch (codepage) {
    case 936:
        return "GB18030";
    case 932:
        return "Shift_JIS";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 874:
        return "windows-874";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

// Windows-1252 is decoded here: it is the fallback for every code page without a decoder.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isDbcsLead(quint8 b, int codepage)
{
    switch (codepage) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
        return b >= 0x81 && b <= 0xFE;
    default:
        return false;
    }
}

// Characters that would become layout of the text engine rather than text.
bool isDroppedChar(char16_t c)
{
    return (c < 0x20 && c != u'\t') || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}

void appendCp1252(const QByteArray &bytes, QString &out)
{
    for (const char ch : bytes) {
        const auto b = quint8(ch);
        const char16_t c = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
        if (!isDroppedChar(c)) out.append(QChar(c));
    }
}

struct CharProps {
    int font = -1; // -1: the default font of \deffN
    int halfPoints = 24;
    int colour = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharProps &) const = default;
};

struct Group {
    CharProps props;
    Dest dest = Dest::Text;
    int uc = 1;
};

struct FontInfo {
    QString name;
    int codepage = 0;
};

class Reader
{
public:
    Reader(QByteArrayView data, QTextDocument &doc)
        : m_data(data), m_cursor(&doc), m_defaultFamily(doc.defaultFont().family()),
          m_defaultHalfPoints(halfPointsOf(doc.defaultFont()))
    {
    }

    void run(qsizetype start);

private:
    Group &top() { return m_groups.back(); }
    void openGroup();
    void closeGroup();
    void controlWord(std::string_view name, bool hasParam, qint64 param);
    void controlSymbol(char c);
    void textByte(char c, bool escaped = false);
    void textChar(char32_t c);
    void paragraph();
    void unicode(qint64 param);
    bool skipsByte(quint8 b);

    int codepageOf(const CharProps &props) const;
    void decodePending();
    void appendDecoded(const QByteArray &bytes, int codepage, QString &out);
    void flushRun();
    void emitPendingParagraph();
    const QTextCharFormat &formatOf(const CharProps &props);

    void startFontEntry(int number);
    void endFontEntry();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    const QString m_defaultFamily;
    const int m_defaultHalfPoints;

    std::vector<Group> m_groups;
    int m_overflowDepth = 0;
    bool m_done = false;
    int m_skip = 0; // \ucN fallback units still to skip
    // The last fallback byte skipped was the lead byte of a double-byte character.
    bool m_skipInPair = false;
    char16_t m_highSurrogate = 0;

    int m_ansiCodepage = 1252;
    int m_defaultFont = 0;
    QHash<int, FontInfo> m_fonts;
    std::vector<std::optional<QRgb>> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;

    // The font entry being read.
    bool m_inFontEntry = false;
    int m_entryNumber = 0;
    int m_entryCharset = -1;
    int m_entryCodepage = 0;
    QString m_entryName;

    // The text run being gathered: bytes not yet decoded, then decoded text.
    CharProps m_runProps;
    QByteArray m_pendingBytes;
    QString m_runText;
    // A paragraph mark is held back until text follows it: the last one of the document
    // ends the last paragraph rather than starting an empty one.
    bool m_pendingParagraph = false;

    std::map<int, QStringDecoder> m_decoders;
    std::optional<CharProps> m_formatProps;
    QTextCharFormat m_format;
};

int Reader::codepageOf(const CharProps &props) const
{
    const auto it = m_fonts.constFind(props.font < 0 ? m_defaultFont : props.font);
    return it != m_fonts.constEnd() ? it->codepage : m_ansiCodepage;
}

void Reader::appendDecoded(const QByteArray &bytes, int codepage, QString &out)
{
    const char *name = decoderName(codepage);
    if (name) {
        auto it = m_decoders.find(codepage);
        if (it == m_decoders.end())
            it = m_decoders
                     .emplace(codepage, QStringDecoder(name, QStringConverter::Flag::Stateless))
                     .first;
        if (it->second.isValid()) {
            const QString decoded = it->second.decode(bytes);
            for (const QChar c : decoded) {
                if (!isDroppedChar(c.unicode())) out.append(c);
            }
            return;
        }
    }
    appendCp1252(bytes, out);
}

void Reader::decodePending()
{
    if (m_pendingBytes.isEmpty()) return;
    if (m_inFontEntry && top().dest == Dest::FontTable) {
        appendDecoded(m_pendingBytes, m_entryCodepage, m_entryName);
    } else {
        appendDecoded(m_pendingBytes, codepageOf(m_runProps), m_runText);
    }
    m_pendingBytes.clear();
}

const QTextCharFormat &Reader::formatOf(const CharProps &props)
{
    if (m_formatProps && *m_formatProps == props) return m_format;
    QTextCharFormat format;
    const auto font = m_fonts.constFind(props.font < 0 ? m_defaultFont : props.font);
    if (font != m_fonts.constEnd() && !font->name.isEmpty() && font->name != m_defaultFamily)
        format.setFontFamilies({font->name});
    if (props.halfPoints != m_defaultHalfPoints) format.setFontPointSize(props.halfPoints / 2.0);
    if (props.bold) format.setFontWeight(QFont::Bold);
    if (props.italic) format.setFontItalic(true);
    if (props.underline) format.setFontUnderline(true);
    if (props.strike) format.setFontStrikeOut(true);
    if (props.colour >= 0 && size_t(props.colour) < m_colours.size() && m_colours[props.colour])
        format.setForeground(QColor::fromRgb(*m_colours[props.colour]));
    m_format = format;
    m_formatProps = props;
    return m_format;
}

void Reader::emitPendingParagraph()
{
    if (!m_pendingParagraph) return;
    m_cursor.insertBlock(QTextBlockFormat(), formatOf(top().props));
    m_pendingParagraph = false;
}

void Reader::flushRun()
{
    decodePending();
    if (m_runText.isEmpty()) return;
    emitPendingParagraph();
    m_cursor.insertText(m_runText, formatOf(m_runProps));
    m_runText.clear();
}

// `escaped`: written as \'hh or \\, so never a table delimiter.
void Reader::textByte(char c, bool escaped)
{
    m_highSurrogate = 0;
    const Dest dest = top().dest;
    if (dest == Dest::Text) {
        const CharProps &props = top().props;
        if (props.hidden) return;
        if (!(props == m_runProps)) {
            flushRun();
            m_runProps = props;
        }
        m_pendingBytes.append(c);
    } else if (dest == Dest::FontTable) {
        if (c == ';' && !escaped) {
            endFontEntry();
        } else if (m_inFontEntry || c != ' ') {
            if (!m_inFontEntry) startFontEntry(m_entryNumber);
            m_pendingBytes.append(c);
        }
    } else if (dest == Dest::ColourTable) {
        if (c == ';' && !escaped) {
            if (m_colourSet)
                m_colours.emplace_back(qRgb(m_red, m_green, m_blue));
            else
                m_colours.emplace_back(std::nullopt);
            m_red = m_green = m_blue = 0;
            m_colourSet = false;
        }
    }
}

void Reader::textChar(char32_t c)
{
    const Dest dest = top().dest;
    QString *out = nullptr;
    if (dest == Dest::Text) {
        const CharProps &props = top().props;
        if (props.hidden) return;
        if (!(props == m_runProps)) {
            flushRun();
            m_runProps = props;
        }
        decodePending();
        out = &m_runText;
    } else if (dest == Dest::FontTable) {
        if (!m_inFontEntry) startFontEntry(m_entryNumber);
        decodePending();
        out = &m_entryName;
    } else {
        return;
    }
    if (c < 0x10000 && isDroppedChar(char16_t(c))) return;
    if (c == 0x2029) {
        if (dest == Dest::Text) paragraph();
        return;
    }
    if (c >= 0x10000) {
        out->append(QChar(QChar::highSurrogate(c)));
        out->append(QChar(QChar::lowSurrogate(c)));
    } else {
        out->append(QChar(char16_t(c)));
    }
}

void Reader::paragraph()
{
    if (top().dest != Dest::Text) return;
    flushRun();
    emitPendingParagraph();
    // An empty line keeps the size and font it was given.
    if (m_cursor.block().length() == 1) m_cursor.setBlockCharFormat(formatOf(top().props));
    m_pendingParagraph = true;
}

void Reader::unicode(qint64 param)
{
    // N is a signed 16-bit value; some writers put the unsigned value instead.
    qint64 code = param < 0 ? param + 65536 : param;
    if (code < 0 || code > 0xFFFF) code = 0xFFFD;
    const auto c = char16_t(code);
    if (QChar::isHighSurrogate(c)) {
        if (m_highSurrogate) textChar(0xFFFD);
        m_highSurrogate = c;
    } else if (QChar::isLowSurrogate(c)) {
        if (m_highSurrogate)
            textChar(QChar::surrogateToUcs4(m_highSurrogate, c));
        else
            textChar(0xFFFD);
        m_highSurrogate = 0;
    } else {
        if (m_highSurrogate) textChar(0xFFFD);
        m_highSurrogate = 0;
        textChar(c);
    }
    m_skip = top().uc;
    m_skipInPair = false;
}

// Whether byte b belongs to a \uN fallback and is dropped. Writers that count a double-byte
// fallback as one unit (\uc1 before \'hh\'hh) would leave its trail byte behind, to pair with
// the next character's lead byte and garble the rest of the run.
bool Reader::skipsByte(quint8 b)
{
    if (m_skip > 0) {
        --m_skip;
        m_skipInPair = !m_skipInPair && isDbcsLead(b, codepageOf(top().props));
        return true;
    }
    if (!m_skipInPair) return false;
    m_skipInPair = false;
    return true;
}

void Reader::startFontEntry(int number)
{
    m_inFontEntry = true;
    m_entryNumber = number;
    m_entryCharset = -1;
    m_entryCodepage = m_ansiCodepage;
    m_entryName.clear();
}

void Reader::endFontEntry()
{
    if (!m_inFontEntry) return;
    decodePending();
    FontInfo info;
    info.name = m_entryName.trimmed();
    info.codepage = m_entryCodepage;
    // Stray blanks between entries make no font.
    if (!info.name.isEmpty() || m_entryCharset >= 0 || !m_fonts.contains(m_entryNumber))
        m_fonts.insert(m_entryNumber, info);
    m_inFontEntry = false;
    m_entryName.clear();
}

void Reader::openGroup()
{
    m_skip = 0;
    m_skipInPair = false;
    if (m_groups.size() >= size_t(kMaxDepth)) {
        ++m_overflowDepth;
        return;
    }
    m_groups.push_back(m_groups.back());
}

void Reader::closeGroup()
{
    m_skip = 0;
    m_skipInPair = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (top().dest == Dest::FontTable && m_inFontEntry) {
        endFontEntry();
    }
    decodePending();
    if (m_groups.size() <= 2) { // the outer group ends the document
        m_done = true;
        return;
    }
    m_groups.pop_back();
}

void Reader::controlSymbol(char c)
{
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(c, true);
        break;
    case '~':
        textChar(0x00A0);
        break;
    case '_':
        textChar(0x2011);
        break;
    case '*':
        top().dest = Dest::Skip;
        break;
    case '\r':
    case '\n':
        paragraph();
        break;
    default: // \- optional hyphen, \| \: index marks
        break;
    }
}

void Reader::controlWord(std::string_view name, bool hasParam, qint64 param)
{
    const Word *word = findWord(name);
    if (!word) return;
    Group &g = top();
    CharProps &p = g.props;
    const bool on = !hasParam || param != 0;
    const int value = int(param);
    switch (word->cmd) {
    case Cmd::Par:
        paragraph();
        break;
    case Cmd::Char:
        textChar(word->ch);
        break;
    case Cmd::Plain:
        p = CharProps{};
        break;
    case Cmd::Bold:
        p.bold = on;
        break;
    case Cmd::Italic:
        p.italic = on;
        break;
    case Cmd::Underline:
        p.underline = on;
        break;
    case Cmd::UnderlineOff:
        p.underline = false;
        break;
    case Cmd::Strike:
        p.strike = on;
        break;
    case Cmd::StrikeDouble:
        p.strike = on;
        break;
    case Cmd::Hidden:
        p.hidden = on;
        break;
    case Cmd::Font:
        if (!hasParam) break;
        if (g.dest == Dest::FontTable) {
            decodePending();
            if (m_inFontEntry && !m_entryName.trimmed().isEmpty()) endFontEntry();
            startFontEntry(value);
        } else {
            p.font = std::max(value, 0);
        }
        break;
    case Cmd::FontSize:
        p.halfPoints = hasParam && param > 0 ? int(std::min<qint64>(param, 32767)) : 24;
        break;
    case Cmd::Colour:
        p.colour = hasParam ? std::max(value, 0) : 0;
        break;
    case Cmd::Uc:
        g.uc = int(std::clamp<qint64>(hasParam ? param : 1, 0, 1000));
        break;
    case Cmd::U:
        if (hasParam) unicode(param);
        break;
    case Cmd::Bin:
        if (hasParam && param > 0) m_pos += std::min<qint64>(param, m_data.size() - m_pos);
        break;
    case Cmd::Deff:
        if (hasParam) m_defaultFont = std::max(value, 0);
        break;
    case Cmd::AnsiCpg:
        if (hasParam && param > 0) m_ansiCodepage = value;
        break;
    case Cmd::Ansi:
        m_ansiCodepage = 1252;
        break;
    case Cmd::Mac:
        m_ansiCodepage = 10000;
        break;
    case Cmd::Pc:
        m_ansiCodepage = 437;
        break;
    case Cmd::Pca:
        m_ansiCodepage = 850;
        break;
    case Cmd::FontCharset:
        if (g.dest == Dest::FontTable && hasParam) {
            if (!m_inFontEntry) startFontEntry(m_entryNumber);
            m_entryCharset = value;
            m_entryCodepage = codepageOfCharset(value, m_ansiCodepage);
        }
        break;
    case Cmd::Cpg:
        if (g.dest == Dest::FontTable && hasParam && param > 0) {
            if (!m_inFontEntry) startFontEntry(m_entryNumber);
            m_entryCodepage = value;
        }
        break;
    case Cmd::Red:
    case Cmd::Green:
    case Cmd::Blue:
        if (g.dest == Dest::ColourTable) {
            const int c = int(std::clamp<qint64>(hasParam ? param : 0, 0, 255));
            (word->cmd == Cmd::Red ? m_red : word->cmd == Cmd::Green ? m_green : m_blue) = c;
            m_colourSet = true;
        }
        break;
    case Cmd::FontTable:
        if (g.dest == Dest::Text) {
            g.dest = Dest::FontTable;
            m_inFontEntry = false;
        }
        break;
    case Cmd::ColourTable:
        if (g.dest == Dest::Text) {
            g.dest = Dest::ColourTable;
            m_red = m_green = m_blue = 0;
            m_colourSet = false;
        }
        break;
    case Cmd::SkipDest:
        g.dest = Dest::Skip;
        break;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

void Reader::run(qsizetype start)
{
    m_groups.reserve(64);
    m_groups.push_back(Group{}); // outside the outer group
    m_pos = start;
    const qsizetype n = m_data.size();
    while (m_pos < n && !m_done) {
        const char c = m_data[m_pos];
        if (c == '{') {
            ++m_pos;
            openGroup();
            continue;
        }
        if (c == '}') {
            ++m_pos;
            closeGroup();
            continue;
        }
        if (c == '\r' || c == '\n' || c == '\0') {
            ++m_pos;
            continue;
        }
        if (c != '\\') {
            ++m_pos;
            if (skipsByte(quint8(c))) continue;
            if (c == '\t')
                textChar(u'\t');
            else
                textByte(c);
            continue;
        }

        ++m_pos;
        if (m_pos >= n) break;
        const char s = m_data[m_pos];
        if (s == '\'') {
            ++m_pos;
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < n) {
                const int h = hexValue(m_data[m_pos]);
                if (h < 0) break;
                value = value * 16 + h;
                ++digits;
                ++m_pos;
            }
            if (digits > 0) {
                if (!skipsByte(quint8(value))) textByte(char(value), true);
            } else if (m_skip > 0) {
                --m_skip;
            }
            continue;
        }
        if (!isLetter(s)) {
            ++m_pos;
            // \\ \{ \} may be the trail byte of a double-byte fallback.
            if (s == '\\' || s == '{' || s == '}') {
                if (skipsByte(quint8(s))) continue;
            } else if (m_skip > 0) {
                --m_skip;
                continue;
            }
            m_skipInPair = false;
            if (s != '\\' && s != '{' && s != '}') decodePending();
            controlSymbol(s);
            continue;
        }

        char name[kMaxWordLength];
        int length = 0;
        while (m_pos < n && isLetter(m_data[m_pos])) {
            if (length < kMaxWordLength) name[length] = m_data[m_pos];
            ++length;
            ++m_pos;
        }
        bool negative = false;
        if (m_pos + 1 < n && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        bool hasParam = false;
        qint64 param = 0;
        while (m_pos < n && isDigit(m_data[m_pos])) {
            hasParam = true;
            param = std::min(param * 10 + (m_data[m_pos] - '0'), kMaxParam);
            ++m_pos;
        }
        if (negative) param = -param;
        if (m_pos < n && m_data[m_pos] == ' ') ++m_pos;
        const std::string_view word =
            length <= kMaxWordLength ? std::string_view(name, size_t(length)) : std::string_view();
        m_skipInPair = false;
        if (m_skip > 0) {
            --m_skip;
            // Binary data belongs to the skipped word and must not be read as RTF.
            if (word == "bin" && hasParam && param > 0) m_pos += std::min<qint64>(param, n - m_pos);
            continue;
        }
        if (word != "u") m_highSurrogate = 0;
        if (top().dest == Dest::Skip) {
            if (word == "bin" && hasParam && param > 0) m_pos += std::min<qint64>(param, n - m_pos);
            continue;
        }
        decodePending();
        controlWord(word, hasParam, param);
    }
    if (top().dest == Dest::FontTable && m_inFontEntry) endFontEntry();
    decodePending();
    // The last \par marks the end of the last paragraph, not an empty one after it.
    flushRun();
}

bool startsAsRtf(QByteArrayView data, qsizetype &start)
{
    // A text editor may have put a UTF-8 byte order mark before the document.
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    start = i;
    return data.sliced(i).startsWith("{\\rtf");
}

QString decodePlainText(QByteArrayView data)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError()) {
        QStringDecoder gb18030("GB18030");
        text = gb18030.isValid() ? gb18030.decode(data) : QString::fromLatin1(data);
    }
    text.replace(u"\r\n"_qs, u"\n"_qs);
    text.replace(u'\r', u'\n');
    text.removeIf([](QChar c) { return c != u'\n' && isDroppedChar(c.unicode()); });
    return text;
}

} // namespace

bool read(QByteArrayView data, QTextDocument &doc)
{
    const bool undo = doc.isUndoRedoEnabled();
    // A load is not an edit: it leaves no undo history behind.
    doc.setUndoRedoEnabled(false);
    qsizetype start = 0;
    const bool rtf = startsAsRtf(data, start);
    if (rtf) {
        doc.clear();
        Reader reader(data, doc);
        QTextCursor batch(&doc);
        batch.beginEditBlock();
        reader.run(start);
        batch.endEditBlock();
    } else if (data.isEmpty()) {
        doc.clear();
    } else {
        doc.setPlainText(decodePlainText(data));
    }
    doc.setUndoRedoEnabled(undo);
    return rtf;
}

} // namespace Rtf
