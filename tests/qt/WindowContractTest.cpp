// The window contract for the Qt main window, offscreen.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>
#include <set>

#include "WindowContract.h"
#include "app/AboutDlg.h"
#include "qt/QtMainWindow.h"

namespace tolvane::contract {
namespace {

// The real window; it only listens to the timers it makes, since without a dialog attached their
// expiries would reach nobody.
class CListenedQtWindow : public CQtMainWindow {
 public:
  CListenedQtWindow() {
    for (QTimer* timer : findChildren<QTimer*>()) m_listened.insert(timer);
  }
  void SetTimer(int id, int milliseconds) override {
    CQtMainWindow::SetTimer(id, milliseconds);
    for (QTimer* timer : findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
      if (m_listened.insert(timer).second) connect(timer, &QTimer::timeout, this, [this, id] { ++expiries[id]; });
  }
  std::map<int, int> expiries;

 private:
  std::set<QTimer*> m_listened;
};

class CQtDriver {
 public:
  CQtDriver() {
    m_window->SetAboutBoxRunner(RunAboutBoxOver);
    m_window->show();
  }

  IWindow& Window() { return *m_window; }
  bool PumpUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 20000); }
  void Drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  int Expiries(int id) const {
    const auto found = m_window->expiries.find(id);
    return found == m_window->expiries.end() ? 0 : found->second;
  }

  void AnswerBoxes(std::function<void(const CShownBox&)> whileOpen) {
    // A box runs its own loop on this thread: the answer comes from inside it. Every box is
    // answered, over the window or not, so that a misplaced one fails the test instead of hanging it.
    m_answerer.setInterval(5);
    QObject::connect(&m_answerer, &QTimer::timeout, &m_answerer, [this, whileOpen] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(widget);
        if (!box || box == m_window.get() || !box->isVisible()) continue;
        auto* messageBox = qobject_cast<QMessageBox*>(box);
        const bool overWindow = m_window && box->parentWidget() == m_window.get();
        whileOpen(CShownBox{box->windowTitle().toStdString(), messageBox ? messageBox->text().toStdString() : "",
                            overWindow && QApplication::activeModalWidget() == box});
        if (QAbstractButton* ok = messageBox ? messageBox->button(QMessageBox::Ok) : nullptr)
          ok->click();
        else
          box->accept();
      }
    });
    m_answerer.start();
  }

  static constexpr bool kShowsAboutBox = true;
  std::string SystemMenuEntry(int commandId) const {
    for (const auto& [id, text] : m_window->MenuItems())
      if (id == commandId) return text.toStdString();
    return {};
  }

  // As the program ends: closed, then destroyed.
  IWindow* EndWindow() {
    m_window->done(QDialog::Rejected);
    m_window.reset();
    return nullptr;
  }

 private:
  std::unique_ptr<CListenedQtWindow> m_window = std::make_unique<CListenedQtWindow>();
  QTimer m_answerer;
};

INSTANTIATE_TYPED_TEST_SUITE_P(QtMainWindow, WindowContract, CQtDriver);

}  // namespace
}  // namespace tolvane::contract

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
