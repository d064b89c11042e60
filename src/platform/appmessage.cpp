#include "appmessage.h"

#include <QMessageBox>

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
std::vector<std::pair<std::string, AppMessage::Hook>> &hooks()
{
    static std::vector<std::pair<std::string, AppMessage::Hook>> installed;
    return installed;
}
} // namespace

namespace AppMessage
{

QString appTitle()
{
    return QStringLiteral("KQ周记事本");
}

void setHook(Hook hook, const std::string &seam)
{
    auto &list = hooks();
    std::erase_if(list, [&](const auto &entry) { return entry.first == seam; });
    if (hook) list.emplace_back(seam, std::move(hook));
}

void show(QWidget *parent, const QString &text, const QString &caption)
{
    if (!hooks().empty()) {
        // A copy: the hook may install or clear hooks while it runs.
        const Hook hook = hooks().back().second;
        hook(parent, text, caption);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace AppMessage
