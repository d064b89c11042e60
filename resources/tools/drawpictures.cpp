// Draws every picture of the windows with QPainter, so that the PNGs in resources/ can be made
// again from this one source: `kq_draw_pictures OUTDIR` writes images/ and icons/ under OUTDIR
// (the resources folder), `kq_draw_pictures --mock FILE PAGE` composes a window from them.
// Palette: light blue RGB(216, 227, 243) and white, with a calm navy for glyphs and text.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QTextStream>
#include <cstdio>
#include <vector>

namespace
{

const QColor kLightBlue(216, 227, 243);
const QColor kPaleBlue(236, 242, 250);
const QColor kLineBlue(190, 207, 233);
const QColor kAccent(74, 125, 196);
const QColor kNavy(40, 72, 128);
const QColor kGlyph(72, 92, 124);
const QColor kWhite(255, 255, 255);

QString gOut;
bool gFailed = false;

QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void save(const QImage &img, const QString &relative)
{
    const QString path = gOut + '/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!img.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        gFailed = true;
    }
}

QFont uiFont(qreal px, bool bold = false)
{
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(qRound(px));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor &a, const QColor &b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

// ---- application icon: a page with the six boxes of a week, one of them marked ----------------
// One list of shapes, drawn by QPainter and written as SVG, so that both forms show the same icon.
struct IconShape {
    QRectF rect;   // in a 256 x 256 box
    qreal radius;  // corner radius
    QColor top;    // fill, top of a vertical gradient
    QColor bottom; // fill, bottom
    QColor stroke; // invalid: no outline
    qreal strokeW;
};

const std::vector<IconShape> &iconShapes()
{
    static const std::vector<IconShape> shapes = {
        {{16, 16, 224, 224}, 48, QColor(104, 152, 218), QColor(52, 96, 170), {}, 0},
        {{44, 60, 168, 152}, 14, kWhite, QColor(244, 247, 252), {}, 0},
        // header of the page: rounded at the top, squared off by the second rectangle
        {{44, 60, 168, 36}, 14, kLightBlue, kLightBlue, {}, 0},
        {{44, 80, 168, 16}, 0, kLightBlue, kLightBlue, {}, 0},
        // binding rings
        {{78, 40, 16, 38}, 8, kNavy, kNavy, kWhite, 5},
        {{162, 40, 16, 38}, 8, kNavy, kNavy, kWhite, 5},
        // the week: two rows of three boxes, the middle box of the top row marked
        {{58, 106, 42, 38}, 6, kLightBlue, kLightBlue, {}, 0},
        {{107, 106, 42, 38}, 6, kAccent, kAccent, {}, 0},
        {{156, 106, 42, 38}, 6, kLightBlue, kLightBlue, {}, 0},
        {{58, 152, 42, 40}, 6, kLightBlue, kLightBlue, {}, 0},
        {{107, 152, 42, 40}, 6, kLightBlue, kLightBlue, {}, 0},
        {{156, 152, 42, 40}, 6, kLightBlue, kLightBlue, {}, 0},
    };
    return shapes;
}
// the tick in the marked box
const std::vector<QPointF> kIconTick = {{117, 125}, {125, 134}, {140, 115}};
constexpr qreal kIconTickWidth = 7;

// Below 32 px the rings and the tick blur into noise: the small sizes show the page and its
// six boxes only, drawn larger.
const std::vector<IconShape> &smallIconShapes()
{
    static const std::vector<IconShape> shapes = {
        {{8, 8, 240, 240}, 48, QColor(104, 152, 218), QColor(52, 96, 170), {}, 0},
        {{36, 44, 184, 172}, 16, kWhite, kWhite, {}, 0},
        {{36, 44, 184, 44}, 16, kLightBlue, QColor(200, 214, 236), {}, 0},
        {{36, 72, 184, 16}, 0, QColor(200, 214, 236), QColor(200, 214, 236), {}, 0},
        {{52, 104, 44, 44}, 4, kLightBlue, kLightBlue, {}, 0},
        {{106, 104, 44, 44}, 4, kAccent, kAccent, {}, 0},
        {{160, 104, 44, 44}, 4, kLightBlue, kLightBlue, {}, 0},
        {{52, 156, 44, 44}, 4, kLightBlue, kLightBlue, {}, 0},
        {{106, 156, 44, 44}, 4, kLightBlue, kLightBlue, {}, 0},
        {{160, 156, 44, 44}, 4, kLightBlue, kLightBlue, {}, 0},
    };
    return shapes;
}

void drawIcon(QPainter &p, const QRectF &target)
{
    const bool small = target.width() < 32;
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / 256.0, target.height() / 256.0);
    p.setRenderHint(QPainter::Antialiasing);
    for (const IconShape &s : small ? smallIconShapes() : iconShapes()) {
        p.setBrush(vertical(s.rect.top(), s.rect.bottom(), s.top, s.bottom));
        if (s.stroke.isValid())
            p.setPen(QPen(s.stroke, s.strokeW));
        else
            p.setPen(Qt::NoPen);
        if (s.radius > 0)
            p.drawRoundedRect(s.rect, s.radius, s.radius);
        else
            p.drawRect(s.rect);
    }
    if (!small) {
        p.setPen(QPen(kWhite, kIconTickWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(kIconTick.data(), int(kIconTick.size()));
    }
    p.restore();
}

QString svgColor(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

void writeIconSvg(const QString &relative)
{
    QString svg;
    QTextStream s(&svg);
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<!-- Written by kq_draw_pictures; the PNG sizes are drawn from the same shapes. -->\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
         "viewBox=\"0 0 256 256\">\n  <defs>\n";
    int n = 0;
    for (const IconShape &sh : iconShapes()) {
        s << "    <linearGradient id=\"g" << n++ << "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" "
          << "y1=\"" << sh.rect.top() << "\" x2=\"0\" y2=\"" << sh.rect.bottom() << "\">"
          << "<stop offset=\"0\" stop-color=\"" << svgColor(sh.top) << "\"/>"
          << "<stop offset=\"1\" stop-color=\"" << svgColor(sh.bottom) << "\"/></linearGradient>\n";
    }
    s << "  </defs>\n";
    n = 0;
    for (const IconShape &sh : iconShapes()) {
        s << "  <rect x=\"" << sh.rect.x() << "\" y=\"" << sh.rect.y() << "\" width=\""
          << sh.rect.width() << "\" height=\"" << sh.rect.height() << "\" rx=\"" << sh.radius
          << "\" fill=\"url(#g" << n++ << ")\"";
        if (sh.stroke.isValid())
            s << " stroke=\"" << svgColor(sh.stroke) << "\" stroke-width=\"" << sh.strokeW << "\"";
        s << "/>\n";
    }
    s << "  <polyline points=\"";
    for (const QPointF &pt : kIconTick)
        s << pt.x() << ',' << pt.y() << ' ';
    s << "\" fill=\"none\" stroke=\"#ffffff\" stroke-width=\"" << kIconTickWidth
      << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n</svg>\n";
    QFile f(gOut + '/' + relative);
    QDir().mkpath(QFileInfo(f).absolutePath());
    if (!f.open(QIODevice::WriteOnly) || f.write(svg.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        gFailed = true;
    }
}

void drawIcons()
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage img = canvas(size, size);
        QPainter p(&img);
        drawIcon(p, QRectF(0, 0, size, size));
        p.end();
        save(img, QStringLiteral("icons/kqnotebook_%1.png").arg(size));
    }
    writeIconSvg(QStringLiteral("icons/kqnotebook.svg"));
}

// ---- window background, logo, bands ------------------------------------------------------------

// Stretched over the whole window: a soft light at the top fading into the light blue of the
// frame. It varies only vertically, so stretching it to any size keeps its look.
QImage background()
{
    QImage img = canvas(913, 530);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 530);
    g.setColorAt(0, QColor(246, 249, 253));
    g.setColorAt(80.0 / 530, kLightBlue);
    g.setColorAt(1, QColor(208, 221, 240));
    p.fillRect(img.rect(), g);
    p.fillRect(QRect(0, 0, 913, 1), kWhite);
    return img;
}

QImage logo()
{
    QImage img = canvas(210, 56);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawIcon(p, QRectF(0, 4, 48, 48));
    p.setPen(kNavy);
    p.setFont(uiFont(23, true));
    p.drawText(QRectF(54, 3, 156, 32), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("KQ周记事本"));
    p.setPen(QColor(98, 124, 166));
    p.setFont(uiFont(11));
    p.drawText(QRectF(55, 34, 156, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("一周一页 · 农历月历"));
    return img;
}

// Caption band of a row of boxes; stretched horizontally only, so it varies only vertically.
QImage captionBand(int height)
{
    QImage img = canvas(590, height);
    QPainter p(&img);
    p.fillRect(img.rect(), vertical(0, height, kPaleBlue, QColor(222, 231, 245)));
    p.fillRect(QRect(0, 0, 590, 1), kWhite);
    p.fillRect(QRect(0, height - 1, 590, 1), kLineBlue);
    return img;
}

// The selected day's band: a stronger blue with an accent line under the caption.
QImage selectedBand()
{
    QImage img = canvas(194, 26);
    QPainter p(&img);
    p.fillRect(img.rect(), vertical(0, 26, QColor(206, 222, 246), QColor(176, 202, 240)));
    p.fillRect(QRect(0, 0, 194, 1), QColor(232, 240, 252));
    p.fillRect(QRect(0, 24, 194, 2), kAccent);
    return img;
}

// ---- title buttons ------------------------------------------------------------------------------

enum class State { Normal, Highlight, Down };
enum class Glyph { Close, Minimise, Maximise };

QString stateName(State s)
{
    switch (s) {
    case State::Normal:
        return QStringLiteral("normal");
    case State::Highlight:
        return QStringLiteral("highlight");
    case State::Down:
        return QStringLiteral("down");
    }
    return {};
}

// The buttons hang from the top edge of the window: square at the top, rounded below.
QPainterPath hangingShape(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.topRight());
    path.lineTo(r.right(), r.bottom() - radius);
    path.quadTo(r.bottomRight(), QPointF(r.right() - radius, r.bottom()));
    path.lineTo(r.left() + radius, r.bottom());
    path.quadTo(r.bottomLeft(), QPointF(r.left(), r.bottom() - radius));
    path.closeSubpath();
    return path;
}

QImage titleButton(Glyph glyph, State state, int w, int h)
{
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(0.5, 0, w - 1, h - 0.5);
    QColor ink = kGlyph;
    if (glyph == Glyph::Close && state != State::Normal) {
        const bool down = state == State::Down;
        p.fillPath(hangingShape(body, 4),
                   vertical(0, h, down ? QColor(196, 72, 62) : QColor(236, 112, 100),
                            down ? QColor(172, 52, 44) : QColor(214, 80, 68)));
        ink = kWhite;
    } else if (state != State::Normal) {
        const bool down = state == State::Down;
        p.fillPath(hangingShape(body, 4),
                   vertical(0, h, down ? QColor(170, 196, 234) : QColor(255, 255, 255, 230),
                            down ? QColor(150, 180, 226) : QColor(228, 237, 250, 230)));
        p.setPen(QPen(down ? QColor(120, 156, 208) : QColor(170, 192, 226), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(hangingShape(body.adjusted(0, -1, 0, 0), 4));
        ink = down ? kNavy : kAccent;
    }
    const QPointF c(w / 2.0 + (state == State::Down ? 0.5 : 0),
                    h / 2.0 + (state == State::Down ? 0.5 : 0));
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Close:
        p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
        p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
        break;
    case Glyph::Minimise:
        p.drawLine(c + QPointF(-4.5, 3.5), c + QPointF(4.5, 3.5));
        break;
    case Glyph::Maximise:
        p.drawRect(QRectF(c + QPointF(-4.5, -4), c + QPointF(4.5, 4)));
        p.drawLine(c + QPointF(-4.5, -2.5), c + QPointF(4.5, -2.5));
        break;
    }
    return img;
}

void drawTitleButtons()
{
    for (State s : {State::Normal, State::Highlight, State::Down}) {
        save(titleButton(Glyph::Close, s, 39, 20), "images/btn_close_" + stateName(s) + ".png");
        save(titleButton(Glyph::Minimise, s, 28, 20), "images/btn_mini_" + stateName(s) + ".png");
        save(titleButton(Glyph::Maximise, s, 28, 20), "images/btn_max_" + stateName(s) + ".png");
    }
}

// ---- command buttons ----------------------------------------------------------------------------

struct ButtonLook {
    QColor top, bottom, border, text;
    qreal shift; // the pressed look moves its content by half a pixel
};

ButtonLook buttonLook(State s)
{
    switch (s) {
    case State::Normal:
        return {kWhite, QColor(232, 239, 250), QColor(158, 186, 226), kNavy, 0};
    case State::Highlight:
        return {kWhite, QColor(242, 247, 255), kAccent, QColor(30, 86, 170), 0};
    case State::Down:
        return {QColor(200, 217, 242), QColor(214, 227, 246), QColor(96, 138, 200), kNavy, 0.5};
    }
    return {};
}

void buttonBody(QPainter &p, const QRectF &r, const ButtonLook &look, qreal radius)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look.border, 1));
    p.setBrush(vertical(r.top(), r.bottom(), look.top, look.bottom));
    p.drawRoundedRect(r, radius, radius);
}

// a small screen on its stand
void monitorGlyph(QPainter &p, const QRectF &r, const QColor &ink)
{
    p.setPen(QPen(ink, 1.3));
    p.setBrush(QColor(216, 227, 243));
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.72);
    p.drawRoundedRect(screen, 1.5, 1.5);
    p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.center().x(), screen.bottom()), QPointF(r.center().x(), r.bottom() - 1));
    p.drawLine(QPointF(r.center().x() - r.width() * 0.28, r.bottom()),
               QPointF(r.center().x() + r.width() * 0.28, r.bottom()));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(screen.left() + 2.5, screen.top() + 2.5, screen.width() - 5, 2));
}

QImage applyButton(State s)
{
    const ButtonLook look = buttonLook(s);
    QImage img = canvas(84, 29);
    QPainter p(&img);
    buttonBody(p, QRectF(0.5, 0.5, 83, 28), look, 5);
    p.translate(look.shift, look.shift);
    monitorGlyph(p, QRectF(7, 8, 13, 12), look.text);
    p.setPen(look.text);
    p.setFont(uiFont(11, true));
    p.drawText(QRectF(23, 0, 56, 29), Qt::AlignCenter, QStringLiteral("应用到桌面"));
    return img;
}

// a framed landscape with a sun
void pictureGlyph(QPainter &p, const QRectF &r, const QColor &ink)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.6));
    p.setBrush(kWhite);
    p.drawRoundedRect(r, 3, 3);
    const QRectF in = r.adjusted(3, 3, -3, -3);
    p.save();
    p.setClipRect(in);
    p.fillRect(in, vertical(in.top(), in.bottom(), QColor(226, 236, 250), QColor(200, 218, 244)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 190, 90));
    p.drawEllipse(QPointF(in.right() - 6, in.top() + 5), 3, 3);
    QPainterPath hills;
    hills.moveTo(in.left(), in.bottom());
    hills.lineTo(in.left() + in.width() * 0.35, in.top() + in.height() * 0.45);
    hills.lineTo(in.left() + in.width() * 0.55, in.top() + in.height() * 0.7);
    hills.lineTo(in.left() + in.width() * 0.72, in.top() + in.height() * 0.55);
    hills.lineTo(in.right(), in.bottom());
    hills.closeSubpath();
    p.setBrush(kAccent);
    p.drawPath(hills);
    p.restore();
}

QImage addBgButton(State s)
{
    const ButtonLook look = buttonLook(s);
    QImage img = canvas(176, 50);
    QPainter p(&img);
    buttonBody(p, QRectF(0.5, 0.5, 175, 49), look, 8);
    p.translate(look.shift, look.shift);
    pictureGlyph(p, QRectF(14, 11, 34, 28), look.text);
    // a small plus: the picture is added to the list
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(64, 160, 96));
    p.drawEllipse(QPointF(46, 36), 6.5, 6.5);
    p.setPen(QPen(kWhite, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(42.5, 36), QPointF(49.5, 36));
    p.drawLine(QPointF(46, 32.5), QPointF(46, 39.5));
    p.setPen(look.text);
    p.setFont(uiFont(14, true));
    p.drawText(QRectF(60, 6, 112, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("选择背景图片"));
    p.setPen(QColor(110, 134, 172));
    p.setFont(uiFont(10));
    p.drawText(QRectF(61, 27, 112, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("JPG · BMP · GIF"));
    return img;
}

// ---- tool icons above the boxes -----------------------------------------------------------------

QImage toolFont()
{
    QImage img = canvas(22, 20);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont big(QStringLiteral("DejaVu Serif"));
    big.setPixelSize(17);
    big.setBold(true);
    p.setFont(big);
    p.setPen(kNavy);
    p.drawText(QRectF(0, 0, 14, 19), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("A"));
    QFont small = big;
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(kAccent);
    p.drawText(QRectF(12, 0, 10, 18), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("a"));
    return img;
}

QImage toolDate()
{
    QImage img = canvas(22, 22);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(11, 11);
    p.setPen(QPen(kNavy, 1.6));
    p.setBrush(vertical(2, 20, kWhite, kLightBlue));
    p.drawEllipse(c, 8.6, 8.6);
    p.setPen(QPen(kAccent, 1.0));
    for (int i = 0; i < 12; i += 3) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(i * 30);
        p.drawLine(t.map(QPointF(0, -7)), t.map(QPointF(0, -5.6)));
    }
    p.setPen(QPen(kNavy, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -5.2));
    p.drawLine(c, c + QPointF(3.8, 1.6));
    p.setBrush(kNavy);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 1.3, 1.3);
    return img;
}

QImage toolColor()
{
    QImage img = canvas(22, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kNavy);
    p.drawText(QRectF(0, -1, 22, 14), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("A"));
    // the colour bar under the letter, in the three colours of the marks
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(2, 14, 6, 4), QColor(255, 0, 0));
    p.fillRect(QRectF(8, 14, 6, 4), QColor(255, 0, 255));
    p.fillRect(QRectF(14, 14, 6, 4), QColor(0, 0, 255));
    return img;
}

void drawAll()
{
    save(background(), QStringLiteral("images/bg_main.png"));
    save(logo(), QStringLiteral("images/logo.png"));
    save(captionBand(26), QStringLiteral("images/caption_band_top.png"));
    save(captionBand(25), QStringLiteral("images/caption_band_bottom.png"));
    save(selectedBand(), QStringLiteral("images/sel_day_band.png"));
    drawTitleButtons();
    for (State s : {State::Normal, State::Highlight, State::Down}) {
        save(applyButton(s), "images/btn_apply_" + stateName(s) + ".png");
        save(addBgButton(s), "images/btn_addbg_" + stateName(s) + ".png");
    }
    save(toolFont(), QStringLiteral("images/tool_font.png"));
    save(toolDate(), QStringLiteral("images/tool_date.png"));
    save(toolColor(), QStringLiteral("images/tool_color.png"));
    drawIcons();
}

// ---- mock of the main window from the pictures, to judge them together ------------------------

QImage load(const QString &name)
{
    QImage img(gOut + "/images/" + name + ".png");
    if (img.isNull()) {
        std::fprintf(stderr, "missing %s\n", qPrintable(name));
        gFailed = true;
    }
    return img;
}

void mock(const QString &file, const QString &page, const QString &hover)
{
    const int W = 906, H = 540;
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawImage(QRect(0, 0, W, H), load("bg_main"));
    p.setPen(kLightBlue);
    p.drawRect(0, 0, W - 1, H - 1);
    p.drawImage(55, 11, load("logo"));
    const int dx = W - 913; // top-right anchored items
    p.drawImage(873 + dx, 1, load(hover == "close" ? "btn_close_highlight" : "btn_close_normal"));
    p.drawImage(844 + dx, 1, load(hover == "mini" ? "btn_mini_highlight" : "btn_mini_normal"));
    p.setPen(QColor(128, 0, 0));
    QFont df = uiFont(12, true);
    p.setFont(df);
    p.drawText(343, 32, QStringLiteral("2026年12月10日 星期四"));
    p.setPen(kNavy);
    p.setFont(uiFont(12));
    p.drawText(761 + dx, 74, QStringLiteral("|  选项"));
    p.drawImage(825 + dx, 49, load(hover == "apply" ? "btn_apply_highlight" : "btn_apply_normal"));
    p.drawImage(317, 58, load("tool_font"));
    QFont ab(QStringLiteral("DejaVu Sans"));
    ab.setBold(true);
    ab.setPixelSize(14);
    p.setFont(ab);
    p.setPen(Qt::black);
    p.drawText(QRect(341, 55, 23, 22), Qt::AlignCenter, QStringLiteral("√"));
    ab.setPixelSize(12);
    p.setFont(ab);
    p.drawText(QRect(365, 55, 23, 22), Qt::AlignCenter, QStringLiteral("X"));
    p.drawImage(395, 54, load("tool_date"));
    p.drawImage(441, 61, load("tool_color"));

    // left column: calendar stand-in, strip, picture button
    p.translate(2, 80);
    p.fillRect(QRect(0, 0, 311, H - 80 - 19), kLightBlue);
    p.fillRect(QRect(0, 0, 311, 253), Qt::white);
    p.setPen(kLineBlue);
    p.drawRect(0, 0, 310, 252);
    p.setPen(kNavy);
    p.setFont(uiFont(13, true));
    p.drawText(QRect(0, 4, 311, 24), Qt::AlignCenter,
               QStringLiteral("2026年 12月   丙午年【马年】"));
    p.setFont(uiFont(11));
    const QStringList wd = {"日", "一", "二", "三", "四", "五", "六"};
    for (int c = 0; c < 7; ++c)
        p.drawText(QRect(6 + c * 43, 34, 43, 18), Qt::AlignCenter, wd[c]);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 7; ++c) {
            const int d = r * 7 + c - 1;
            if (d < 1 || d > 31) continue;
            if (d == 10) p.fillRect(QRect(7 + c * 43, 55 + r * 32, 41, 30), QColor(176, 202, 240));
            p.setPen(c == 0 || c == 6 ? QColor(200, 40, 40) : Qt::black);
            p.setFont(uiFont(13, true));
            p.drawText(QRect(6 + c * 43, 54 + r * 32, 43, 18), Qt::AlignCenter, QString::number(d));
            p.setPen(QColor(110, 110, 110));
            p.setFont(uiFont(9));
            p.drawText(QRect(6 + c * 43, 70 + r * 32, 43, 13), Qt::AlignCenter,
                       QStringLiteral("初%1").arg(d % 10 + 1));
        }
    // the strip: the page drawn as the view shows it, shifted by (-14, -19) and clipped
    p.save();
    p.translate(2, 253);
    p.fillRect(QRect(0, 0, 298, 40), Qt::white);
    p.setClipRect(QRect(0, 0, 298, 40));
    if (!page.isEmpty()) {
        QFile f(page);
        if (f.open(QIODevice::ReadOnly)) {
            QTextDocument doc;
            doc.setDocumentMargin(0);
            doc.setTextWidth(2013);
            doc.setHtml(QString::fromUtf8(f.readAll()));
            p.translate(-14, -19);
            doc.drawContents(&p, QRectF(0, 0, 2013, 844));
        }
    }
    p.restore();
    p.drawImage(62, 312, load(hover == "addbg" ? "btn_addbg_highlight" : "btn_addbg_normal"));
    p.translate(-2, -80);

    // right panel: week view
    const int pw = W - 317 - 2, ph = H - 80 - 15;
    p.translate(317, 80);
    p.fillRect(QRect(0, 0, pw, ph), Qt::white);
    const int l1 = (pw - 4) / 3 + 1, l2 = ((pw - 4) / 3) * 2 + 2, top2 = (ph - 50) / 2 + 18;
    p.drawImage(QRect(4, 0, pw - 4 - 4, 26), load("caption_band_top"));
    p.drawImage(QRect(4, top2, pw - 4 - 4, 25), load("caption_band_bottom"));
    p.drawImage(QRect(l1 + 1, 0, l2 - l1 - 2, 26), load("sel_day_band"));
    const QColor sep(220, 227, 255);
    for (int x : {2, l1, l2, pw - 3})
        p.fillRect(QRect(x, 0, 1, ph - 5), sep);
    p.fillRect(QRect(2, ph - 5, pw - 4, 1), sep);
    QFont song(QStringLiteral("Noto Serif CJK SC"));
    song.setPixelSize(12);
    p.setFont(song);
    p.setPen(Qt::black);
    const QStringList caps = {"周 一", "周 二", "周 三", "周 四", "周 五", "周 六/日"};
    const int xs[3] = {2, l1, l2};
    for (int i = 0; i < 6; ++i) {
        const int y = i < 3 ? 7 : top2 + 8;
        p.drawText(QRect(xs[i % 3] + 10, y, 120, 14), Qt::AlignLeft | Qt::AlignVCenter, caps[i]);
    }
    song.setPixelSize(15);
    p.setFont(song);
    p.drawText(QRect(xs[1] + 6, 32, 180, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("√ 交周报\n 09:05  晨会"));
    p.setPen(QColor(255, 0, 0));
    p.drawText(QRect(xs[0] + 6, top2 + 32, 180, 40), Qt::AlignLeft, QStringLiteral("█ 生日礼物"));
    p.end();
    img.save(file, "PNG");
    // a sheet of every button state, enlarged three times, to judge the small pictures
    QImage sheet(330, 200, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(216, 227, 243));
    QPainter q(&sheet);
    int x = 4;
    for (const char *b : {"close", "mini", "max"}) {
        int y = 4;
        for (const char *st : {"normal", "highlight", "down"}) {
            q.drawImage(x, y, load(QStringLiteral("btn_%1_%2").arg(b, st)));
            y += 24;
        }
        x += 44;
    }
    int y = 4;
    for (const char *st : {"normal", "highlight", "down"}) {
        q.drawImage(140, y, load(QStringLiteral("btn_apply_%1").arg(st)));
        y += 33;
    }
    q.drawImage(4, 80, load("btn_addbg_normal"));
    q.drawImage(4, 134, load("btn_addbg_down"));
    q.drawImage(230, 110, load("tool_font"));
    q.drawImage(256, 110, load("tool_date"));
    q.drawImage(282, 110, load("tool_color"));
    q.drawImage(230, 140, QImage(gOut + "/icons/kqnotebook_16.png"));
    q.drawImage(250, 140, QImage(gOut + "/icons/kqnotebook_24.png"));
    q.drawImage(280, 140, QImage(gOut + "/icons/kqnotebook_48.png"));
    q.end();
    sheet.scaled(sheet.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(file + ".sheet.png", "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == "--mock") {
        gOut = QStringLiteral(KQ_RESOURCES_DIR);
        mock(args[2], args.value(3), args.value(4));
        return gFailed ? 1 : 0;
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kq_draw_pictures OUTDIR | --mock FILE [PAGE [HOVER]]\n");
        return 2;
    }
    gOut = args[1];
    drawAll();
    return gFailed ? 1 : 0;
}
