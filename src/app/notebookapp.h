#pragma once

#include <QString>

#include <memory>

class QLockFile;
class TDM;
class TMainFrm;
class TNoteStore;

// The program: its data module and its windows, created in a fixed order and kept until exit.
// Tests create one on a temporary program folder and drive the real window.
class TNotebookApp
{
public:
    enum class Outcome {
        Running,        // the windows exist; show MainFrm and run the loop
        AlreadyRunning, // another instance works on this data folder
        DatabaseFailed, // "配置文件加载失败，请重试！" was shown
        Refused,        // the start-up password check failed or was cancelled
    };

    TNotebookApp();
    ~TNotebookApp();
    TNotebookApp(const TNotebookApp &) = delete;
    TNotebookApp &operator=(const TNotebookApp &) = delete;

    // The application title and the font substitutions; once, after the QApplication exists.
    static void initApplication();

    // Steps 2 and 3 of the program entry: the data module, then the windows.
    Outcome start();

    TMainFrm *MainFrm() const { return m_mainFrm.get(); }
    TDM *DM() const { return m_dm.get(); }

    static QString lockFilePath();

private:
    // Declared in creation order, so that they are released in reverse.
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TNoteStore> m_store;
    std::unique_ptr<TMainFrm> m_mainFrm;
};
