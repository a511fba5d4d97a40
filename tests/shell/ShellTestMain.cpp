// The shell's tests need a QApplication for their widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    // Runs the window keeps go to a history of the tests' own, not the user's.
    const QTemporaryDir history;
    if (history.isValid())
        qputenv("XDG_DATA_HOME", history.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
