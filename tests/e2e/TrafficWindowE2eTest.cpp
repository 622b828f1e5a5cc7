// The traffic trace through the real window, port and tolvane-devsim: what the window lists, what
// "Save…" writes and what the --trace file gets, and that no secret typed into the window is in any
// of them.
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "WindowProbe.h"
#include "WindowSession.h"
#include "qt/ReportList.h"
#include "qt/TraceWindow.h"
#include "qt/TrafficTracing.h"

namespace tolvane::e2e {

namespace {

using qttest::CWhenReady;
using qttest::OpenMessageBox;

constexpr int kBound = 20'000;
constexpr char kOffice[] = "3c:84:6a:01:22:9f";
constexpr char kSpeaker[] = "F8:DF:15:3A:9C:02";
const QString kMask = QString::fromUtf8(kSecretMask);

const QStringList kSecrets = {QStringLiteral("Acc0unt-Secret"), QStringLiteral("Dea1er-Secret"),
                              QStringLiteral("Apn-Secret@9"), QStringLiteral("Wifi-Secret^7"),
                              QStringLiteral("86429753")};

QString ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void TypeInto(CWindowSession& session, int id, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(session.Control(id));
  QVERIFY(edit);
  edit->clear();
  QTest::keyClicks(edit, text);
  QCOMPARE(edit->text(), text);
}

// Clicks a button and answers the box that follows; its text, or nothing when none came.
QString ClickAndAnswer(CWindowSession& session, int buttonId) {
  QString text;
  CWhenReady answer([&session] { return OpenMessageBox(session.Window()) != nullptr; },
                    [&] {
                      QMessageBox* box = OpenMessageBox(session.Window());
                      text = box->text();
                      box->button(QMessageBox::Ok)->click();
                    });
  session.Click(buttonId);
  if (!QTest::qWaitFor([&answer] { return answer.Done(); }, kBound)) return {};
  return text;
}

// Right-clicks the window's background and picks the entry with this text.
bool PickFromWindowMenu(CWindowSession& session, const QString& entry) {
  bool picked = false;
  CWhenReady pick([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; },
                  [&] {
                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    for (QAction* action : menu->actions())
                      if (action->text() == entry) {
                        picked = true;
                        action->trigger();
                      }
                    menu->close();
                  });
  QWidget& window = session.Window();
  const QPoint background(2, window.height() - 2);
  QContextMenuEvent click(QContextMenuEvent::Mouse, background, window.mapToGlobal(background));
  QApplication::sendEvent(&window, &click);
  return picked;
}

bool ClickRow(CWindowSession& session, int listId, int row, const std::function<bool()>& took) {
  auto* list = qobject_cast<CReportList*>(session.Control(listId));
  if (list->rowCount() <= row) return false;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 1)).center());
  return took();
}

// "Save…", then the file dialog filled in as a user would.
bool SaveThroughTheDialog(CTraceWindow& traceWindow, const QString& path) {
  CWhenReady fill(
      [&traceWindow] {
        const auto* dialog = traceWindow.findChild<QFileDialog*>();
        return dialog && dialog->isVisible();
      },
      [&traceWindow, &path] {
        auto* dialog = traceWindow.findChild<QFileDialog*>();
        dialog->selectFile(path);
        // As its Save button does; QDialog's accept is the public face of the dialog's own.
        static_cast<QDialog*>(dialog)->accept();
      });
  QTest::mouseClick(traceWindow.SaveButton(), Qt::LeftButton);
  return fill.Done() && QFile::exists(path);
}

}  // namespace

class TrafficWindowE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void traceShowsTheExchangeAndNeverASecret() {
    QTemporaryDir files;
    const QString traceFile = files.path() + "/trace.txt";
    const QString savedFile = files.path() + "/saved.txt";
    CWindowSession session;
    QVERIFY(session.Start({"--wifi-password", kSecrets[3], "--bt-pin", kSecrets[4]}));
    CTrafficTrace trace;
    CTrafficTracing tracing(trace, TextLanguage::English);
    QString errorText;
    QVERIFY2(tracing.OpenFile(traceFile, errorText), qPrintable(errorText));
    session.Dialog().SetTrafficTrace(&trace);
    tracing.AttachTo(session.Window());

    // The file traces from the start; the window only what passes while it is open.
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_VERIFY_WITH_TIMEOUT(ReadFile(traceFile).contains(QStringLiteral("  \u2190 device  IMEI:356938035643809\n")),
                             kBound);
    QVERIFY(PickFromWindowMenu(session, QStringLiteral("Traffic\u2026")));
    CTraceWindow* traceWindow = tracing.Window();
    QVERIFY(traceWindow && traceWindow->isVisible());
    QVERIFY(!traceWindow->isModal());
    QCOMPARE(traceWindow->View()->accessibleName(), QStringLiteral("Traffic with the device"));
    QCOMPARE(traceWindow->SaveButton()->text(), QStringLiteral("Save\u2026"));
    QVERIFY(!traceWindow->Text().contains(QStringLiteral("COM:open")));

    TypeInto(session, IDC_ACCOUNT, QStringLiteral("unit7"));
    TypeInto(session, IDC_ACCOUNT_PASSWORD, kSecrets[0]);
    QCOMPARE(ClickAndAnswer(session, IDC_SET_ACCOUNT), QStringLiteral("Update account and password OK"));
    TypeInto(session, IDC_DEALER_PASSWORD, kSecrets[1]);
    QCOMPARE(ClickAndAnswer(session, IDC_UPDATE_DEALER_PW), QStringLiteral("Update dealer password OK"));
    TypeInto(session, IDC_APN_NAME, QStringLiteral("internet"));
    TypeInto(session, IDC_APN_USER, QStringLiteral("me"));
    TypeInto(session, IDC_APN_PASSWORD, kSecrets[2]);
    QCOMPARE(ClickAndAnswer(session, IDC_SET_APN), QStringLiteral("Update APN OK"));

    auto* wifi = qobject_cast<CReportList*>(session.Control(IDC_WIFI_LIST));
    session.Click(IDC_WIFI_OPEN);
    QTRY_VERIFY_WITH_TIMEOUT(wifi->rowCount() > 0, kBound);
    QTRY_VERIFY_WITH_TIMEOUT(
        ClickRow(session, IDC_WIFI_LIST, 0, [&] { return session.Dialog().GetWifiSelected() == kOffice; }), kBound);
    TypeInto(session, IDC_WIFI_PASSWORD, kSecrets[3]);
    session.Click(IDC_WIFI_CONNECT);
    QTRY_COMPARE_WITH_TIMEOUT(wifi->ItemText(0, 0), QStringLiteral("(Connected)"), kBound);

    auto* bt = qobject_cast<CReportList*>(session.Control(IDC_BT_LIST));
    session.Click(IDC_BT_OPEN);
    QTRY_COMPARE_WITH_TIMEOUT(bt->rowCount(), 4, kBound);
    QVERIFY(ClickRow(session, IDC_BT_LIST, 1, [&] { return session.Dialog().GetBtSelected() == kSpeaker; }));
    TypeInto(session, IDC_BT_PIN, kSecrets[4]);
    session.Click(IDC_BT_PAIR);
    QTRY_COMPARE_WITH_TIMEOUT(bt->ItemText(1, 2), QStringLiteral("Paired"), kBound);
    QTRY_VERIFY_WITH_TIMEOUT(traceWindow->Text().contains(QStringLiteral("BT_P:") + kSpeaker + "^pair_ok"), kBound);

    QVERIFY(SaveThroughTheDialog(*traceWindow, savedFile));
    const QString shown = traceWindow->Text();
    QTest::mouseClick(traceWindow->ClearButton(), Qt::LeftButton);
    QCOMPARE(traceWindow->Text(), QString());
    session.Window().close();
    tracing.Drain();

    const QString toDevice = QStringLiteral("  \u2192 device  ");
    const QString fromDevice = QStringLiteral("  \u2190 device  ");
    const QStringList expected = {
        toDevice + "ACCOUNT:unit7^" + kMask,
        fromDevice + "ACCOUNT:ok",
        toDevice + "CUSTOMER_PW:" + kMask,
        toDevice + "APN:internet^me@" + kMask,
        toDevice + "WiFi_PW:" + kOffice + "^" + kMask,
        fromDevice + "WiFi:connected_ok",
        fromDevice + "BT_L:Mirl PTT Headset^00:1A:7D:DA:71:13^P",  // names and addresses stay readable
        toDevice + "BT:" + kSpeaker + "^pair^" + kMask,
    };
    static const QRegularExpression line(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  [→←] device  \S)"));
    const QString traced = ReadFile(traceFile);
    const QString saved = ReadFile(savedFile);
    QCOMPARE(saved, shown);
    for (const auto& [what, text] :
         {std::pair{"window", shown}, std::pair{"saved file", saved}, std::pair{"trace file", traced}}) {
      for (const QString& secret : kSecrets)
        QVERIFY2(!text.contains(secret), qPrintable(QStringLiteral("%1 holds %2").arg(what, secret)));
      int at = 0;  // in this order
      for (const QString& wanted : expected) {
        at = text.indexOf(wanted + '\n', at);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("%1 lacks %2").arg(what, wanted)));
      }
      for (const QString& row : text.split('\n', Qt::SkipEmptyParts))
        QVERIFY2(line.match(row).hasMatch(), qPrintable(row));
    }
    QVERIFY(traced.contains(fromDevice + "COM:open\n"));
    QVERIFY(traced.endsWith(toDevice + "COM:close\n"));
  }

  void aTraceFileThatCannotBeWrittenIsRefusedAtOnce() {
    CTrafficTrace trace;
    CTrafficTracing tracing(trace, TextLanguage::English);
    QString errorText;
    QVERIFY(!tracing.OpenFile(QStringLiteral("/nonexistent-directory/trace.txt"), errorText));
    QVERIFY(!errorText.isEmpty());
    QVERIFY(!trace.IsRecording());
  }
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::TrafficWindowE2eTest)
#include "TrafficWindowE2eTest.moc"
