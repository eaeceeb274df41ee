// Test main for tests that need a QApplication. Listing the tests (ctest's discovery) must not
// need a display, so the application is only created when tests actually run.
//
// It also guards against dialogs nobody answers. Tests answer the program's questions through
// FakeQuestions; a modal window that still comes up (a QMessageBox a test forgot, a dialog the
// code opens directly) would wait for a person forever. The guard fails the running test and
// closes such a window once it has stayed up for a while, and again when the test ends, so the
// suite goes on.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

// Long enough for any test that opens and answers a dialog of its own on purpose.
constexpr qint64 kModalPatienceMs = 20000;

void CloseModal(QWidget* modal, const char* when)
{
    ADD_FAILURE() << "a modal window was left open " << when << ": \""
                  << modal->windowTitle().toStdString() << "\" ("
                  << modal->metaObject()->className() << ")";
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

class ModalGuard : public ::testing::EmptyTestEventListener
{
  public:
    ModalGuard()
    {
        m_Timer.setInterval(250);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { Check(); });
        m_Timer.start();
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        // QDialog::exec() unwinds only through the event loop; a few rounds let it return.
        for (int round = 0; round < 5; ++round) {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                break;
            CloseModal(modal, "at the end of the test");
            QCoreApplication::processEvents();
        }
        m_Seen = nullptr;
    }

  private:
    void Check()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != m_Seen) {
            m_Seen = modal;
            m_Since.start();
            return;
        }
        if (modal && m_Since.elapsed() > kModalPatienceMs) {
            CloseModal(modal, "unanswered");
            m_Seen = nullptr;
        }
    }

    QTimer m_Timer;
    QPointer<QWidget> m_Seen;
    QElapsedTimer m_Since;
};

} // namespace

int main(int argc, char** argv)
{
    // Look before InitGoogleTest, which takes its own flags out of argv.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
    ModalGuard* guard = nullptr;
    if (!listing) {
        app = std::make_unique<QApplication>(argc, argv);
        listeners.Append(guard = new ModalGuard);
    }
    const int result = RUN_ALL_TESTS();
    // The guard's timer must go while the application still exists.
    delete listeners.Release(guard);
    // The tests are done, but the ending (the application's and the web engine's teardown) could
    // still hang; ctest would then only see a timeout after a passed test. Say where it hung.
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(60));
        std::fputs("qt_main: the test process did not end within 60 s of its last test\n", stderr);
        std::abort();
    }).detach();
    return result;
}
