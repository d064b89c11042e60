#include "fontsubstitutions.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    const QStringList serif{u"Noto Serif CJK SC"_qs, u"Noto Sans CJK SC"_qs};
    const QStringList sans{u"Noto Sans CJK SC"_qs};
    const QStringList latinSans{u"DejaVu Sans"_qs, u"Noto Sans CJK SC"_qs};
    QFont::insertSubstitutions(u"宋体"_qs, serif);
    QFont::insertSubstitutions(u"SimSun"_qs, serif);
    QFont::insertSubstitutions(u"新宋体"_qs, serif);
    QFont::insertSubstitutions(u"黑体"_qs, sans);
    QFont::insertSubstitutions(u"SimHei"_qs, sans);
    QFont::insertSubstitutions(u"微软雅黑"_qs, sans);
    QFont::insertSubstitutions(u"Microsoft YaHei"_qs, sans);
    QFont::insertSubstitutions(u"幼圆"_qs, sans);
    QFont::insertSubstitutions(u"楷体_GB2312"_qs, serif);
    QFont::insertSubstitutions(u"仿宋_GB2312"_qs, serif);
    QFont::insertSubstitutions(u"Arial"_qs, latinSans);
    QFont::insertSubstitutions(u"Arial Black"_qs, latinSans);
    QFont::insertSubstitutions(u"Verdana"_qs, latinSans);
    QFont::insertSubstitutions(u"Tahoma"_qs, latinSans);
}
