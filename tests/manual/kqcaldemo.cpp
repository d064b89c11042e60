// Shows the month control alone, for looking at it and for screenshots.
//
//   kqcaldemo [--date YYYY-MM-DD] [--background PICTURE] [--alpha N] [--stretch] [--center]
//             [--weeknum] [--notitle] [--width W --height H] [--screenshot FILE.png [--zoom N]]
//
// With --screenshot the window is shown, rendered into the PNG file and the program ends.

#include "chncalendar.h"
#include "datevalue.h"
#include "fontsubstitutions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QLocale>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installFontSubstitutions();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    QCommandLineParser parser;
    parser.setApplicationDescription(u"月历控件演示"_qs);
    parser.addHelpOption();
    const QCommandLineOption dateOption(u"date"_qs, u"Date shown (YYYY-MM-DD)."_qs, u"date"_qs);
    const QCommandLineOption pictureOption(u"background"_qs, u"Background picture."_qs, u"file"_qs);
    const QCommandLineOption alphaOption(u"alpha"_qs, u"Blend weight 0 ... 255."_qs, u"n"_qs);
    const QCommandLineOption stretchOption(u"stretch"_qs, u"Stretch the picture."_qs);
    const QCommandLineOption centerOption(u"center"_qs, u"Centre the picture."_qs);
    const QCommandLineOption weekNumOption(u"weeknum"_qs, u"Show week numbers."_qs);
    const QCommandLineOption noTitleOption(u"notitle"_qs, u"Hide the title bar."_qs);
    const QCommandLineOption widthOption(u"width"_qs, u"Control width."_qs, u"px"_qs);
    const QCommandLineOption heightOption(u"height"_qs, u"Control height."_qs, u"px"_qs);
    const QCommandLineOption zoomOption(u"zoom"_qs, u"Scale the screenshot by n."_qs, u"n"_qs);
    const QCommandLineOption shotOption(u"screenshot"_qs, u"Write a PNG and exit."_qs, u"file"_qs);
    parser.addOptions({dateOption, pictureOption, alphaOption, stretchOption, centerOption,
                       weekNumOption, noTitleOption, widthOption, heightOption, zoomOption,
                       shotOption});
    parser.process(app);

    TChnCalendar calendar;
    calendar.setWindowTitle(u"KQ周记事本"_qs);
    calendar.resize(parser.value(widthOption).toInt() > 0 ? parser.value(widthOption).toInt() : 311,
                    parser.value(heightOption).toInt() > 0 ? parser.value(heightOption).toInt()
                                                           : 253);
    if (parser.isSet(pictureOption)) {
        QImage picture(parser.value(pictureOption));
        if (picture.isNull()) {
            QTextStream(stderr) << "cannot read picture " << parser.value(pictureOption) << '\n';
            return 1;
        }
        calendar.setStretch(parser.isSet(stretchOption));
        calendar.setCenter(parser.isSet(centerOption));
        if (parser.isSet(alphaOption)) calendar.setAlphaBlend(parser.value(alphaOption).toInt());
        calendar.setBackGround(picture);
    }
    QObject::connect(&calendar, &TChnCalendar::OnChange, &calendar, [&calendar] {
        QTextStream(stdout) << DateOfValue(calendar.DateTime())->toString(Qt::ISODate) << ' '
                            << calendar.CnDate() << '\n';
    });
    // The first show sets the control to now; the chosen date follows.
    calendar.show();
    if (parser.isSet(weekNumOption)) {
        calendar.setShowWeekNum(true);
        calendar.LayoutGrid();
    }
    if (parser.isSet(noTitleOption)) calendar.setShowTitle(false);
    if (parser.isSet(dateOption)) {
        const QDate date = QDate::fromString(parser.value(dateOption), Qt::ISODate);
        if (!date.isValid()) {
            QTextStream(stderr) << "not a date: " << parser.value(dateOption) << '\n';
            return 1;
        }
        calendar.setDateTime(ValueOfDate(date));
    }

    if (parser.isSet(shotOption)) {
        const QString file = parser.value(shotOption);
        const int zoom = std::max(1, parser.value(zoomOption).toInt());
        QTimer::singleShot(300, &app, [&calendar, &app, file, zoom] {
            QImage shot = calendar.grab().toImage();
            if (zoom > 1)
                shot =
                    shot.scaled(shot.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            const bool saved = shot.save(file, "PNG");
            if (!saved) QTextStream(stderr) << "cannot write " << file << '\n';
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
