// Message boxes opened for worker threads, and closing the window while they are open or while
// messages keep arriving: nothing may hang and nothing may crash.
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <thread>

#include "FakePort.h"
#include "WindowProbe.h"
#include "link/WindowHop.h"
#include "qt/QtMainWindow.h"
#include "ui/MirlSettingsDlg.h"

using namespace tolvane;
using namespace tolvane::qttest;
using tolvane::testing::CFakePort;
using tolvane::testing::CFakePortList;

namespace {

constexpr int kBound = 20000;

// A reply handler's box: a worker thread hops to the window and opens a box there.
class CBoxFromWorker {
 public:
  CBoxFromWorker(IWindow& window, std::string text) : m_hop(window) {
    const int generation = m_hop.Open();
    m_thread = std::thread([this, generation, &window, text] {
      m_result = m_hop.Run(generation, [&window, text] { window.MessageBox(text); });
      m_bFinished = true;
    });
  }
  ~CBoxFromWorker() {
    m_hop.CancelAll();
    m_thread.join();
  }
  bool Finished() const { return m_bFinished; }
  CWindowHop::Result Result() const { return m_result; }

 private:
  CWindowHop m_hop;
  std::thread m_thread;
  std::atomic<bool> m_bFinished{false};
  std::atomic<CWindowHop::Result> m_result{CWindowHop::Result::Dropped};
};

}  // namespace

class CMessageBoxThreadTest : public QObject {
  Q_OBJECT

 private slots:
  void MessageBox_fromWorkerHop_holdsWorkerUntilOk();
  void Close_whileMessagesStreamAndBoxOpen_endsModalRunWithoutHang();
};

void CMessageBoxThreadTest::MessageBox_fromWorkerHop_holdsWorkerUntilOk() {
  CQtMainWindow window;
  window.show();
  bool workerWaitedForOk = false;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool modal = false;
  CBoxFromWorker worker(window, "Update IP OK");
  CWhenReady answer([&window] { return OpenMessageBox(window) != nullptr; },
                    [&] {
                      QMessageBox* box = OpenMessageBox(window);
                      workerWaitedForOk = !worker.Finished();
                      title = box->windowTitle();
                      text = box->text();
                      icon = box->icon();
                      buttons = static_cast<int>(box->buttons().size());
                      modal = box->isModal() && box->parentWidget() == &window;
                      box->button(QMessageBox::Ok)->click();
                    });
  QTRY_VERIFY_WITH_TIMEOUT(worker.Finished(), kBound);
  QVERIFY(answer.Done());
  QVERIFY(workerWaitedForOk);
  QCOMPARE(worker.Result(), CWindowHop::Result::Ran);
  QCOMPARE(title, QString("Tolvane"));
  QCOMPARE(text, QString("Update IP OK"));
  QCOMPARE(icon, QMessageBox::Warning);
  QCOMPARE(buttons, 1);
  QVERIFY(modal);
}

void CMessageBoxThreadTest::Close_whileMessagesStreamAndBoxOpen_endsModalRunWithoutHang() {
  CFakePortList ports({"COM1 (ttyS0)"});
  CFakePort port;
  CQtMainWindow window;
  auto dialog = std::make_unique<CMirlSettingsDlg>(window, port, ports);
  window.AttachDialog(dialog.get());
  dialog->OnInitDialog();

  // The device keeps talking: each pass of the loop brings more messages for the receiver.
  QTimer device;
  device.setInterval(1);
  QObject::connect(&device, &QTimer::timeout, &device, [&port] {
    if (port.IsOpen()) port.Feed("COM:open~NOTICE:x~COM:open~");
  });
  std::unique_ptr<CBoxFromWorker> worker;
  int step = 0;
  CWhenReady connectLink([&step] { return step == 0; },
                         [&] {
                           step = 1;
                           dialog->OnConnect();
                           device.start();
                         });
  CWhenReady openBox([&] { return step == 1 && dialog->IsDeviceReady(); },
                     [&] {
                       step = 2;
                       worker = std::make_unique<CBoxFromWorker>(window, "Set network OK");
                     });
  CWhenReady closeWindow([&] { return step == 2 && OpenMessageBox(window) != nullptr; }, [&window] { window.close(); });

  window.exec();  // returns only once the window has closed
  device.stop();
  QVERIFY(closeWindow.Done());
  QTRY_VERIFY_WITH_TIMEOUT(worker->Finished(), kBound);
  QCOMPARE(OpenMessageBox(window), nullptr);
  QCOMPARE(port.closeCount, 1);
  QVERIFY(!port.IsOpen());
  QVERIFY(!dialog->IsRunning());
  QCOMPARE(port.Writes().back(), std::string("COM:close~"));
  // A box asked for after the close has nobody to answer it and returns at once.
  window.MessageBox("Set network fail");
  dialog.reset();  // joins the workers: must not hang on hops still queued
  QCoreApplication::processEvents();
}

QTEST_MAIN(CMessageBoxThreadTest)
#include "MessageBoxThreadTest.moc"
