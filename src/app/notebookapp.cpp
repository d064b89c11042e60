#include "notebookapp.h"

#include "dm.h"
#include "fontsubstitutions.h"
#include "infobox.h"
#include "kqresources.h"
#include "mainfrm.h"
#include "notestore.h"
#include "programfolder.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QTranslator>

TNotebookApp::TNotebookApp() = default;

TNotebookApp::~TNotebookApp() = default;

void TNotebookApp::initApplication()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("KQ周记事本"));
    // Matches the installed kqnotebook.desktop, so that the task bar finds the icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kqnotebook"));
    KqResources::init();
    QGuiApplication::setWindowIcon(KqResources::appIcon());
    installFontSubstitutions();
    // The calendar names weekdays and months after the user's locale; in a session that is not
    // Chinese those names would stand in English among the Chinese texts, elided in the header.
    if (QLocale::system().language() != QLocale::Chinese)
        QLocale::setDefault(
            QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China));
    // The windows speak Simplified Chinese whatever the session's locale, so Qt's own texts
    // (buttons and captions of the file, colour and font dialogs) do too.
    static QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
}

QString TNotebookApp::lockFilePath()
{
    return ProgramFolder::path(QStringLiteral("Data\\kqnotebook.lock"));
}

TNotebookApp::Outcome TNotebookApp::start()
{
    // Two instances on one data folder would overwrite each other's notes. The lock is
    // taken before the database is touched. A lock that cannot be made at all (no Data
    // folder) is left to the database check.
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // Age alone never makes the lock of a running instance stale; a dead owner does.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError) {
        m_lock.reset();
        InfoBox::show(nullptr, QStringLiteral("程序已在运行。"));
        return Outcome::AlreadyRunning;
    }

    // 2. The data module DM.
    m_dm = std::make_unique<TDM>();
    if (!m_dm->OpenDatabase()) return Outcome::DatabaseFailed;
    m_store = std::make_unique<TNoteStore>(m_dm->connectionName());

    // 3. The windows, in their order; MainFrm first, so it is the main window.
    m_mainFrm = std::make_unique<TMainFrm>(*m_store);
    // A refused or cancelled password prompt: the window was never shown and never will be.
    if (!m_mainFrm->FormCreate()) {
        m_mainFrm.reset();
        return Outcome::Refused;
    }
    m_mainFrm->CreateSecondaryWindows();
    return Outcome::Running;
}
