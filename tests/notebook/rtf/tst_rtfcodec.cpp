#include "rtfcodec.h"

#include <QColor>
#include <QFont>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>
#include <functional>

namespace
{

struct Segment {
    QString text;
    QTextCharFormat format;
};

// The note boxes' default font.
QFont boxFont()
{
    QFont font(u"宋体"_qs);
    font.setPixelSize(15);
    return font;
}

void setUpDocument(QTextDocument &doc)
{
    doc.setDefaultFont(boxFont());
}

QTextCharFormat fmt(std::initializer_list<std::function<void(QTextCharFormat &)>> steps)
{
    QTextCharFormat f;
    for (const auto &step : steps)
        step(f);
    return f;
}

auto bold = [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); };
auto italic = [](QTextCharFormat &f) { f.setFontItalic(true); };
auto underline = [](QTextCharFormat &f) { f.setFontUnderline(true); };
auto strike = [](QTextCharFormat &f) { f.setFontStrikeOut(true); };
auto colour(QColor c)
{
    return [c](QTextCharFormat &f) { f.setForeground(c); };
}
auto family(const QString &name)
{
    return [name](QTextCharFormat &f) { f.setFontFamilies({name}); };
}
auto points(qreal pt)
{
    return [pt](QTextCharFormat &f) { f.setFontPointSize(pt); };
}
auto pixels(int px)
{
    return [px](QTextCharFormat &f) { f.setProperty(QTextFormat::FontPixelSize, px); };
}

void fill(QTextDocument &doc, const QList<Segment> &segments)
{
    QTextCursor cursor(&doc);
    for (const Segment &s : segments)
        cursor.insertText(s.text, s.format);
}

// Raw text with "\n" between paragraphs; line separators, tabs and no-break spaces kept.
QString rawText(const QTextDocument &doc)
{
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        blocks << b.text();
    return blocks.join(u'\n');
}

// What a reader sees of a character format, with unset attributes resolved against the
// document's default font; sizes compare in stored half-points.
QString describe(const QTextCharFormat &f, const QTextDocument &doc)
{
    const QFont def = doc.defaultFont();
    const QStringList families = f.fontFamilies().toStringList();
    const QString fam = families.isEmpty() ? def.family() : families.first();
    qreal pt = def.pointSizeF() > 0 ? def.pointSizeF() : def.pixelSize() * 0.75;
    if (f.hasProperty(QTextFormat::FontPointSize))
        pt = f.fontPointSize();
    else if (f.hasProperty(QTextFormat::FontPixelSize))
        pt = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
    const bool b = f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold;
    const QString col =
        f.foreground().style() == Qt::NoBrush ? u"auto"_qs : f.foreground().color().name();
    return u"%1/%2%3%4%5%6/%7"_qs.arg(fam)
        .arg(std::lround(pt * 2))
        .arg(b ? "b" : "")
        .arg(f.fontItalic() ? "i" : "")
        .arg(f.fontUnderline() ? "u" : "")
        .arg(f.fontStrikeOut() ? "s" : "")
        .arg(col);
}

// One entry per character: the character and its effective formatting.
QStringList charDump(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QString d = describe(frag.charFormat(), doc);
            for (const QChar c : frag.text())
                out << QString(c) + u' ' + d;
        }
        out << u"¶"_qs;
    }
    return out;
}

QTextCharFormat formatAt(const QTextDocument &doc, int position)
{
    QTextCursor c(const_cast<QTextDocument *>(&doc));
    c.setPosition(position + 1); // the format of the character before the cursor
    return c.charFormat();
}

} // namespace

Q_DECLARE_METATYPE(QList<Segment>)

class TstRtfCodec : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void writerOutput_data();
    void writerOutput();
    void loadKeepsDefaultsAndDropsHistory();
    void fixtures_data();
    void fixtures();
    void fixtureFormatting();
    void plainText_data();
    void plainText();
    void malformed_data();
    void malformed();
};

void TstRtfCodec::roundTrip_data()
{
    QTest::addColumn<QList<Segment>>("segments");
    const QTextCharFormat plain;
    QTest::newRow("empty") << QList<Segment>{};
    QTest::newRow("plain Chinese") << QList<Segment>{{u"今天下午三点开会，带上报告。"_qs, plain}};
    QTest::newRow("styles") << QList<Segment>{{u"普通"_qs, plain},
                                              {u"粗体"_qs, fmt({bold})},
                                              {u"斜体"_qs, fmt({italic})},
                                              {u"下划线"_qs, fmt({underline})},
                                              {u"删除线"_qs, fmt({strike})},
                                              {u"全部"_qs, fmt({bold, italic, underline, strike})},
                                              {u"普通"_qs, plain}};
    QTest::newRow("colours") << QList<Segment>{
        {u"红"_qs, fmt({colour(Qt::red)})},   {u"蓝"_qs, fmt({colour(Qt::blue)})},
        {u"红"_qs, fmt({colour(Qt::red)})},   {u"粉"_qs, fmt({colour(Qt::magenta)})},
        {u"黑"_qs, fmt({colour(Qt::black)})}, {u"默认"_qs, plain}};
    QTest::newRow("fonts and sizes")
        << QList<Segment>{{u"黑体十六像素"_qs, fmt({family(u"黑体"_qs), pixels(16)})},
                          {u"Arial 9pt"_qs, fmt({family(u"Arial"_qs), points(9)})},
                          {u"雅黑"_qs, fmt({family(u"微软雅黑"_qs), points(20.5)})},
                          {u"Arial 中文"_qs, fmt({family(u"Arial"_qs)})},
                          {u"十五像素"_qs, fmt({pixels(15)})},
                          {u"Semi;colon {font}"_qs, fmt({family(u"A;b{c}"_qs)})}};
    QTest::newRow("paragraphs") << QList<Segment>{{u"第一段\n\n"_qs, plain},
                                                  {u"第三段粗"_qs, fmt({bold})},
                                                  {u"\n大空行\n"_qs, fmt({points(28)})},
                                                  {u"末段"_qs, plain},
                                                  {u"\n"_qs, plain}};
    QTest::newRow("marks") << QList<Segment>{{u"√完成 ×取消 "_qs, plain},
                                             {u"█"_qs, fmt({colour(QColor(0, 0, 255))})},
                                             {u"蓝色继续"_qs, fmt({colour(QColor(0, 0, 255))})},
                                             {u" 09:05 "_qs, plain}};
    QTest::newRow("outside GBK") << QList<Segment>{
        {u"表情😀、欧元€、扩展𠀀、韩文한국어、私用\uE000、é"_qs, plain},
        {u"粗😀"_qs, fmt({bold, family(u"Arial"_qs)})}};
    QTest::newRow("RTF specials") << QList<Segment>{{u"a\\b{c}d;e\tf\u2028换行\u00A0g"_qs, plain},
                                                    {u"{\\par}"_qs, fmt({italic})}};
}

void TstRtfCodec::roundTrip()
{
    QFETCH(QList<Segment>, segments);
    QTextDocument source;
    setUpDocument(source);
    fill(source, segments);

    const QByteArray rtf = Rtf::write(source);
    QTextDocument loaded;
    setUpDocument(loaded);
    QVERIFY(Rtf::read(rtf, loaded));

    QCOMPARE(rawText(loaded), rawText(source));
    QCOMPARE(charDump(loaded), charDump(source));
    // A second trip writes the same bytes: loading and saving a week changes nothing.
    QCOMPARE(Rtf::write(loaded), rtf);
}

void TstRtfCodec::writerOutput_data()
{
    QTest::addColumn<QList<Segment>>("segments");
    QTest::addColumn<QByteArrayList>("expected");
    const QTextCharFormat plain;
    QTest::newRow("header and default font")
        << QList<Segment>{{u"中"_qs, plain}}
        << QByteArrayList{"{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
                          "\\'cb\\'ce\\'cc\\'e5;}}",
                          "{\\colortbl ;}", "\\fs23\\'d6\\'d0\\par\r\n}"};
    QTest::newRow("marks as GBK bytes")
        << QList<Segment>{{u"√×█"_qs, plain}} << QByteArrayList{"\\'a1\\'cc\\'a1\\'c1\\'a8\\'80"};
    QTest::newRow("outside GBK as signed \\u")
        << QList<Segment>{{u"😀€"_qs, plain}}
        << QByteArrayList{"\\uc1", "\\u-10179?\\u-8704?\\u8364?"};
    QTest::newRow("Latin font: text as \\u")
        << QList<Segment>{{u"A中"_qs, fmt({family(u"Arial"_qs)})}}
        << QByteArrayList{"{\\f1\\fnil\\fcharset0 Arial;}", "\\f1\\fs23 A\\u20013?"};
    QTest::newRow("formatting words")
        << QList<Segment>{{u"x"_qs,
                           fmt({bold, italic, underline, strike, colour(Qt::red), points(10)})},
                          {u"y"_qs, plain}}
        << QByteArrayList{"\\red255\\green0\\blue0;}",
                          "\\fs20\\b\\i\\ul\\strike\\cf1 x\\fs23\\b0\\i0\\ulnone\\strike0\\cf0 y"};
    QTest::newRow("escapes") << QList<Segment>{{u"\\{}\t"_qs, plain}}
                             << QByteArrayList{"\\\\\\{\\}\\tab\\par"};
}

void TstRtfCodec::writerOutput()
{
    QFETCH(QList<Segment>, segments);
    QFETCH(QByteArrayList, expected);
    QTextDocument doc;
    setUpDocument(doc);
    fill(doc, segments);
    const QByteArray rtf = Rtf::write(doc);
    for (const QByteArray &part : expected)
        QVERIFY2(rtf.contains(part), rtf.constData());
}

void TstRtfCodec::loadKeepsDefaultsAndDropsHistory()
{
    QTextDocument doc;
    setUpDocument(doc);
    fill(doc, {{u"旧内容"_qs, QTextCharFormat()}});
    QVERIFY(doc.isUndoAvailable());

    QTextDocument source;
    setUpDocument(source);
    fill(source, {{u"新内容"_qs, QTextCharFormat()}});
    QVERIFY(Rtf::read(Rtf::write(source), doc));

    QCOMPARE(doc.toPlainText(), u"新内容"_qs);
    QVERIFY(!doc.isUndoAvailable()); // undo must not bring back the previous week
    // Text in the box's own font stays unformatted, so it follows the box's font.
    const QTextCharFormat f = formatAt(doc, 1);
    QVERIFY(!f.hasProperty(QTextFormat::FontPointSize));
    QVERIFY(!f.hasProperty(QTextFormat::FontFamilies));
    QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));
}

void TstRtfCodec::fixtures_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("rich edit 1.0")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0"
                      "\\fnil\\fprq2\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n{\\colortbl ;\\red255"
                      "\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs22 \\'bd\\'f1"
                      "\\'cc\\'ec\\cf1\\'bf\\'aa\\'bb\\'e1\\cf0\\par\r\n\\'a1\\'cc\\'a1\\'c1\\'a8"
                      "\\'80\\par\r\n}\r\n")
        << u"今天开会\n√×█"_qs;
    QTest::newRow("empty rich edit document")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb"
                      "\\'ce\\'cc\\'e5;}}\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs22 \\par\r\n}")
        << QString();
    QTest::newRow("unicode with fallbacks")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936\\uc1\\u20320?\\u22909?\\uc2\\u19990\\'ca\\'c0"
                      "\\u-10179??\\u-8704??}")
        << u"你好世😀"_qs;
    QTest::newRow("uc0 and \\uc per group")
        << QByteArray("{\\rtf1\\ansi\\uc0\\u20320 {\\uc2\\u22909\\'ba\\'c3}\\u19990 x}")
        << u"你好世x"_qs;
    // Some writers count a double-byte fallback as one unit; its trail byte, \\ included, must
    // not pair with the next character.
    QTest::newRow("double-byte fallback under \\uc1")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc"
                      "\\'e5;}}\\f0\\uc1\\u8730\\'a1\\'cc\\'d6\\'d0\\u20320\\'c4\\\\x\\u8730?y}")
        << u"√中你x√y"_qs;
    QTest::newRow("fallback stops at a group end")
        << QByteArray("{\\rtf1\\ansi{\\uc3\\u20320?}ab}") << u"你ab"_qs;
    QTest::newRow("word processor")
        << QByteArray(
               "{\\rtf1\\adeflang1025\\ansi\\ansicpg936\\uc2\\adeff0\\deff0\\stshfdbch13"
               "{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times "
               "New Roman;}{\\f13\\fbidi \\fnil\\fcharset134\\fprq2{\\*\\panose "
               "02010600030101010101}\\'cb\\'ce\\'cc\\'e5{\\*\\falt SimSun};}}"
               "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
               "{\\stylesheet{\\qj \\li0\\ri0\\f0\\fs21 \\snext0 Normal;}{\\*\\cs10 \\additive "
               "Default Paragraph Font;}}"
               "{\\*\\generator Microsoft Word 11.0.5604;}{\\info{\\title \\'b1\\'ea\\'cc\\'e2}"
               "{\\author x}{\\creatim\\yr2011\\mo6\\dy27}}"
               "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel{\\leveltext\\'01\\u-3913 ?;}}}}"
               "\\pard\\plain \\qj \\f13\\fs21 {\\loch\\f0 Hello }{\\'d5\\'fd\\'ce\\'c4\\u-3913"
               "\\'a1\\'a1}{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}\\par }")
        << u"Hello 正文\uF0B7link"_qs;
    QTest::newRow("picture and binary data")
        << QByteArray("{\\rtf1\\ansi a{\\pict\\wmetafile8\\picw100\\pich100 "
                      "0100090000033a00000000007b7d}b{\\*\\shppict{\\pict\\pngblip\\bin6 {}\\{x}}}c"
                      "{\\pict\\bin3 }}}}d}")
        << u"abcd"_qs;
    QTest::newRow("Latin code page and default charset")
        << QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                      "\\f1 Foo;}\\f0 caf\\'e9 \\'93q\\'94 \\f1\\'d6\\'d0}")
        << u"café “q” 中"_qs;
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1\\ansi a\\line b\\tab c\\~d\\emdash e\\'09f\\_\\-g\\\\\\{\\}\r\nh\t"
                      "i\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}")
        << u"a\u2028b\tc\u00A0d—e\tf\u2011g\\{}h\ti‘’“”•"_qs;
    QTest::newRow("paragraph ends")
        << QByteArray("{\\rtf1 a\\par\\par b\\par\r\n\\par\r\n}") << u"a\n\nb\n"_qs;
    QTest::newRow("no final paragraph mark")
        << QByteArray("{\\rtf1 a\\par b\\sect c\\page d\\\nx}") << u"a\nb\nc\nd\nx"_qs;
    QTest::newRow("bullets and hidden text")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}}{\\pntext\\f1\\'b7"
                      "\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}item{\\v hidden}!}")
        << u"·\titem!"_qs;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1 ok}") << u"ok"_qs;
    QTest::newRow("leading whitespace") << QByteArray(" \r\n\t{\\rtf1 ok}") << u"ok"_qs;
    QTest::newRow("font table without groups")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5; "
                      "\\f1\\fnil\\fcharset0 Arial; }\\f0\\'d6\\'d0\\f1 A\\'e9}")
        << u"中Aé"_qs;
}

void TstRtfCodec::fixtures()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    setUpDocument(doc);
    fill(doc, {{u"上周的内容"_qs, QTextCharFormat()}});
    QVERIFY(Rtf::read(rtf, doc));
    QCOMPARE(rawText(doc), text);
}

void TstRtfCodec::fixtureFormatting()
{
    // Rich-edit style: state changes in place, groups restoring state, \plain resetting it.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fnil\\fcharset134 \\'ba\\'da\\'cc\\'e5;}{\\f2\\fswiss\\fcharset0 Arial;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\viewkind4\\uc1\\pard\\f0\\fs23 a\\b b\\b0\\i c\\i0\\ul d\\ulnone\\strike e\\strike0"
        "\\cf1 f\\cf2 g\\cf0\\f1\\fs32 h{\\f2\\fs20\\b\\cf1 i{\\i j}k}l\\plain m\\par}";
    QTextDocument doc;
    setUpDocument(doc);
    QVERIFY(Rtf::read(rtf, doc));
    QCOMPARE(doc.toPlainText(), u"abcdefghijklm"_qs);
    const QString def = u"宋体"_qs;
    const QStringList expected{
        def + u"/23/auto"_qs,     def + u"/23b/auto"_qs,   def + u"/23i/auto"_qs,
        def + u"/23u/auto"_qs,    def + u"/23s/auto"_qs,   def + u"/23/#ff0000"_qs,
        def + u"/23/#0000ff"_qs,  u"黑体/32/auto"_qs,      u"Arial/20b/#ff0000"_qs,
        u"Arial/20bi/#ff0000"_qs, u"Arial/20b/#ff0000"_qs, u"黑体/32/auto"_qs,
        def + u"/24/auto"_qs, // \plain: 12 pt
    };
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(describe(formatAt(doc, i), doc), expected[i]);
}

void TstRtfCodec::plainText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ASCII with CR LF")
        << QByteArray("line one\r\nline two\rthree\n") << u"line one\nline two\nthree\n"_qs;
    QTest::newRow("UTF-8 Chinese") << u"周三：开会√"_qs.toUtf8() << u"周三：开会√"_qs;
    QTest::newRow("UTF-8 with BOM")
        << QByteArray("\xEF\xBB\xBF") + u"中文"_qs.toUtf8() << u"中文"_qs;
    QTest::newRow("GBK bytes") << QByteArray("\xd6\xd0\xce\xc4\r\n\xa1\xcc") << u"中文\n√"_qs;
    QTest::newRow("looks like RTF but is not") << QByteArray("{\\rtx1 a}") << u"{\\rtx1 a}"_qs;
    QTest::newRow("RTF further in") << QByteArray("x{\\rtf1 a}") << u"x{\\rtf1 a}"_qs;
}

void TstRtfCodec::plainText()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QTextDocument doc;
    setUpDocument(doc);
    fill(doc, {{u"上周的内容"_qs, QTextCharFormat()}});
    QVERIFY(!Rtf::read(data, doc));
    QCOMPARE(doc.toPlainText(), text);
    QVERIFY(!doc.isUndoAvailable());
}

void TstRtfCodec::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("only the signature") << QByteArray("{\\rtf") << QString();
    QTest::newRow("missing closing braces") << QByteArray("{\\rtf1{\\b abc{\\i d") << u"abcd"_qs;
    QTest::newRow("too many closing braces") << QByteArray("{\\rtf1 a}}}b{") << u"a"_qs;
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1\\ansicpg936 a\\'") << u"a"_qs;
    QTest::newRow("one hex digit") << QByteArray("{\\rtf1 a\\'4") << u"a"_qs;
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zz}") << u"azz"_qs;
    QTest::newRow("half a GBK character")
        << QByteArray("{\\rtf1\\ansicpg936 \\'d6\\par a}") << u"\na"_qs;
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << u"a"_qs;
    QTest::newRow("huge numbers")
        << QByteArray("{\\rtf1\\fs99999999999999999999 a\\f-99999999999 \\cf123456789012 b"
                      "\\u99999999999 c\\uc99999999999 \\u-99999999999 de\\ucc-5 f}")
        << u"ab\uFFFD\uFFFD"_qs;
    QTest::newRow("huge \\bin") << QByteArray("{\\rtf1 a\\bin99999999999999 b}") << u"a"_qs;
    QTest::newRow("negative \\bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << u"ab"_qs;
    QTest::newRow("lone surrogates")
        << QByteArray("{\\rtf1\\uc0\\u-10179 a\\u-8704 b\\u-10179\\u-10179\\u-8704}")
        << u"a\uFFFDb\uFFFD😀"_qs;
    QTest::newRow("very long control word")
        << QByteArray("{\\rtf1 \\") + QByteArray(5000, 'x') + QByteArray("9 ok}") << u"ok"_qs;
    QTest::newRow("references to missing tables")
        << QByteArray("{\\rtf1\\f7\\cf9 x{\\fonttbl{\\f1;}{\\colortbl\\red999;}}y}") << u"xy"_qs;
    QTest::newRow("control characters")
        << QByteArray("{\\rtf1 a\\'00\\'0d\\'0a\\u65532?\\u64976?b}") << u"ab"_qs;
    QByteArray deep = "{\\rtf1 a";
    deep += QByteArray(200000, '{') + "b" + QByteArray(200000, '}') + "c}";
    QTest::newRow("deep nesting") << deep << u"abc"_qs;
    QTest::newRow("deep unclosed nesting")
        << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "z" << u"z"_qs;
}

void TstRtfCodec::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    setUpDocument(doc);
    QVERIFY(Rtf::read(rtf, doc));
    QCOMPARE(rawText(doc), text);
    // Whatever was read can be written and read back unchanged.
    const QByteArray again = Rtf::write(doc);
    QTextDocument second;
    setUpDocument(second);
    QVERIFY(Rtf::read(again, second));
    QCOMPARE(rawText(second), text);
}

QTEST_MAIN(TstRtfCodec)
#include "tst_rtfcodec.moc"
