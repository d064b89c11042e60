#include "mainfrm.h"
#include "notebookapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // 1. The application title.
    TNotebookApp::initApplication();
    TNotebookApp notebook;
    switch (notebook.start()) {
    case TNotebookApp::Outcome::Running:
        break;
    case TNotebookApp::Outcome::DatabaseFailed:
        return 1;
    case TNotebookApp::Outcome::AlreadyRunning:
    case TNotebookApp::Outcome::Refused:
        return 0;
    }
    // 4. The message loop; the first show runs FormShow.
    notebook.MainFrm()->show();
    return app.exec();
}
