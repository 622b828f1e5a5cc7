#pragma once

#include <bitset>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "link/IPort.h"
#include "link/LinkSession.h"
#include "res/ControlIds.h"
#include "res/Picture.h"
#include "ui/CommandOutcome.h"
#include "ui/Controls.h"
#include "ui/IWindow.h"
#include "ui/ReportedSettings.h"
#include "res/TimerIds.h"

namespace tolvane {

// The main window's logic: every member and operation of the settings dialog. It owns the state;
// the window and the port are reached only through their interfaces, the device through the link
// session. Everything here runs on the window's thread.
//
// One class, defined by folder: ui/ its link side and start-up, settings/ and radios/ the features,
// dialog/ its construction and the routes from device keys, controls and timers to the handlers.
class CMirlSettingsDlg : public ILinkSink {
 public:
  // How long a freshly opened link may stay silent before the status strip says so.
  static constexpr int kLinkSilentMs = 3000;
  // How often the port list is looked at for the remembered device while the link is closed.
  static constexpr int kPortWatchMs = 1000;
  using Sleeper = CLinkSession::Sleeper;

  CMirlSettingsDlg(IWindow& window, IPort& port, IPortList& portList);
  // Declared first of the virtuals: the class's vtable goes where the dialog is assembled.
  ~CMirlSettingsDlg() override;
  CMirlSettingsDlg(const CMirlSettingsDlg&) = delete;
  CMirlSettingsDlg& operator=(const CMirlSettingsDlg&) = delete;

  // Start-up, system menu and shut-down.
  bool OnInitDialog();
  void InitDialogControls();
  void OnSysCommand(int commandId);
  void OnDestroy();

  // Serial link and connection.
  bool EnumSerialPorts();
  std::int16_t GetSelectedPort();
  void OnSelchangePort();
  void OnConnect();
  void ClosePort();
  void EnableDeviceControls(bool bEnable);
  void ResetDeviceState();
  void OnComReply(const std::string& value);

  // Beyond the dialog's template behaviour: the port list read again when it is opened, and the
  // status strip that says what the link is doing.
  void OnDropdownPort();

  // Framing and transport.
  void QueueCommand(const std::string& text);
  void OnComm() { m_link.OnComm(); }
  // The device went away: closes as Close does and says so.
  void OnLinkLost() override;

  // Dispatcher and reply timers.
  void HandleDeviceMessage(const std::string& message) override;
  void OnTimer(int id);

  // Configuration commands (settings/).
  void OnWriteImei();
  void OnImeiReply(const std::string& value);
  void OnUpdateIp();
  void OnUpdateDomain();
  void OnIpReply(const std::string& value);
  void OnHostReply(const std::string& value);
  void OnSetAccount();
  void OnUpdateDealerPw();
  void OnAccountReply(const std::string& value);
  void OnDealerPwReply(const std::string& value);
  void OnSetApn();
  void OnClearApn();
  void OnApnReply(const std::string& value);
  void OnApnResetReply(const std::string& value);
  void OnSetLanguage();
  void OnSetNetwork();
  void OnFactoryReset();
  void OnSelchangeLanguage();
  void OnSelchangeNetworkType();
  void OnLanguageReply(const std::string& value);
  void OnNetworkTypeReply(const std::string& value);
  void OnFactoryResetReply(const std::string& value);

  // Radio panels (radios/).
  static constexpr int GPS_RAW_MAX = 5120;
  void OnOpenWifi();
  void OnConnectWifi();
  void OnClickWifiList(int item);
  void OnWifiStateReply(bool on);
  void OnWifiConnectReply(bool ok);
  void AddWifiListRow(const std::string& text);
  void OnWifiConnectTimer();
  void OnOpenBt();
  void OnSearchBt();
  void OnClickBtList(int item);
  void OnPairBt();
  void OnBtStateReply(bool on);
  void AddBtListRow(const std::string& text);
  void OnBtPairReply(const std::string& address, bool unpair, bool ok);
  void OnOpenGps();
  void OnGpsStateReply(bool on);
  void OnGpsRaw(const std::string& text);
  void OnGpsSatellites(const std::string& text);
  void OnGpsStatus(const std::string& text);

  // Where the link records what it writes and cuts; null for none.
  void SetTrafficTrace(CTrafficTrace* trace) { m_link.SetTrafficTrace(trace); }

  // Lets tests count the worker threads' polling passes instead of waiting on the clock.
  void SetSleeper(Sleeper sleeper) { m_link.SetSleeper(std::move(sleeper)); }
  // Hears how each command fares, so that a front end without a person in front of it need not
  // read the screen. Null for none.
  void SetCommandObserver(ICommandObserver* observer) { m_pCommandObserver = observer; }
  const CReportedSettings& GetReportedSettings() const { return m_reported; }

  // Read access for the window layer and tests.
  bool IsDeviceReady() const { return m_bDeviceReady; }
  bool IsRunning() const { return m_link.IsRunning(); }
  std::int16_t GetComPort() const { return m_nComPort; }
  const std::string& GetCommSettings() const { return m_strCommSettings; }
  std::int16_t GetInBufferSize() const { return m_nInBufferSize; }
  std::int16_t GetOutBufferSize() const { return m_nOutBufferSize; }
  const CStringQueue& GetSendQueue() const { return m_link.SendQueue(); }
  const CStringQueue& GetRecvQueue() const { return m_link.RecvQueue(); }
  const CImageList& GetSignalImages() const { return m_imgSignal; }
  bool IsWifiOn() const { return m_bWifiOn; }
  bool IsWifiConnecting() const { return m_bWifiConnecting; }
  const std::string& GetWifiSelected() const { return m_strWifiSelected; }
  const std::string& GetWifiCurrent() const { return m_strWifiCurrent; }
  bool IsBtOn() const { return m_bBtOn; }
  bool IsBtPairing() const { return m_bBtPairing; }
  const std::string& GetBtSelected() const { return m_strBtSelected; }
  bool IsGpsOn() const { return m_bGpsOn; }

 private:
  void ShowMessage(const std::string& text) { m_window.MessageBox(text); }
  // A "~" in a field would end the command early and the device would run the rest as a command
  // of its own: such a press sends nothing and says why. True when it refused.
  bool RefuseTerminator(ECommand command, std::initializer_list<std::string_view> fieldTexts);
  void Refuse(ECommand command, const std::string& message);
  // Outcomes for the observer (ui/Commands.cpp). A command that expects an answer waits for it.
  void SendCommand(ECommand command, const std::string& text, bool bAwaitsAnswer = true);
  void TellOutcome(ECommand command, EOutcome outcome, const std::string& text = {});
  // Ok, Fail, Other or NoResponse, only for a command that waits.
  void Settle(ECommand command, EOutcome outcome, const std::string& text = {});
  // Settles the command and shows the message that says so; the message is shown either way.
  void ShowSettled(ECommand command, EOutcome outcome, int stringId);
  // "ok" and "fail" with their messages; any other answer ends the wait without one.
  void SettleReply(ECommand command, const std::string& value, int okText, int failText);
  bool IsAwaiting(ECommand command) const { return m_awaiting.test(static_cast<std::size_t>(command)); }
  void SettleOnClose();
  // Start-up once a port has been found: selection, serial values, lists and combo boxes.
  void InitPortDependentControls();
  void SelectPreferredPort();
  // Lists the ports afresh and selects `wanted`, else the remembered or likely device.
  void RefillPortList(std::string wanted);
  void ShowLinkStatus(int stringId);
  void ShowOpenFailure();
  void OnLinkSilent();
  void RememberLinkDevice();
  void ArmPortWatch();
  // While a link is open the watch has nothing to do, so it does not wake the window.
  void PausePortWatch();
  void OnPortWatch();
  void OnReplyTimeout(int timerId, ECommand command, int firstButton, int secondButton);
  // The radio panels' dispatcher rows: what each key's value means.
  void OnWifiMessage(const std::string& value);
  void OnWifiCurrentMessage(const std::string& value);
  void OnWifiListMessage(const std::string& value);
  void OnBtMessage(const std::string& value);
  void OnBtPairMessage(const std::string& value);
  void OnBtListMessage(const std::string& value);
  void OnGpsMessage(const std::string& value);
  void OnGpsRawMessage(const std::string& value);
  void OnGpsSatellitesMessage(const std::string& value);
  void OnGpsStatusMessage(const std::string& value);
  // The one rule for every reply, expiry and list click that brings a device button back: only
  // while a link runs. One handled after its own link closed (a later message of the piece that
  // closed it, or a later hop) would leave the button usable with no link.
  bool MayEnableDeviceButtons() const { return m_link.IsRunning(); }
  void EnableAfterReply(CButton& button, bool enable = true) {
    button.EnableWindow(enable && MayEnableDeviceButtons());
  }

  IWindow& m_window;

  // Control members, in declaration order.
  CButton m_btnWriteImei;
  CButton m_btnUpdateIp;
  CButton m_btnBtSearch;
  CButton m_btnBtPair;
  CButton m_btnBtOpen;
  CButton m_btnConnect;
  CButton m_btnGpsOpen;
  CButton m_btnWifiConnect;
  CButton m_btnWifiOpen;
  CComboBox m_cbPort;
  CEdit m_editGpsRaw;
  CEdit m_editGpsSatellites;
  CEdit m_editGpsStatus;
  CEdit m_editImei;
  CEdit m_editWifiName;
  CEdit m_editWifiPassword;
  CListCtrl m_listWifi;
  CImageList m_imgSignal;
  CListCtrl m_listBt;
  IPort& m_comm;
  CIPAddressCtrl m_ipServer;
  CButton m_btnSetAccount;
  CButton m_btnSetApn;
  CButton m_btnUpdateDealerPw;
  CEdit m_editAccount;
  CEdit m_editAccountPassword;
  CEdit m_editApnName;
  CEdit m_editApnPassword;
  CEdit m_editDealerPassword;
  CButton m_btnSetLanguage;
  CComboBox m_cbLanguage;
  CButton m_btnClearApn;
  CButton m_btnUpdateDomain;
  CEdit m_editApnUser;
  CEdit m_editDomain;
  CButton m_btnSetNetwork;
  CComboBox m_cbNetworkType;
  CEdit m_editBtPin;
  CButton m_btnFactoryReset;

  // Link state.
  bool m_bDeviceReady = false;
  std::int16_t m_nComPort = 0;
  std::string m_strCommSettings;
  std::int16_t m_nInBufferSize = 0;
  std::int16_t m_nOutBufferSize = 0;

  // Radio state.
  bool m_bWifiOn = false;
  bool m_bBtOn = false;
  bool m_bGpsOn = false;

  bool m_bWifiConnecting = false;
  std::string m_strWifiSelected;
  std::string m_strWifiCurrent;
  bool m_bBtPairing = false;
  std::string m_strBtSelected;
  std::string m_strLastIp;
  std::string m_strLanguage;
  std::string m_strNetworkType;

  IPortList& m_portList;
  bool m_bPortControlsReady = false;  // start-up went past the port search
  std::string m_strLinkPort;          // "COM200" while a link is open
  std::string m_strLinkCaption;       // "COM200 (ttySIM0)"
  bool m_bPortWatchArmed = false;
  bool m_bRememberedPresent = false;  // as the last look at the port list found it
  ICommandObserver* m_pCommandObserver = nullptr;
  std::bitset<kCommandCount> m_awaiting;  // commands sent whose answer has not settled them yet
  CReportedSettings m_reported;
  // Last: it goes first, so that no worker outlives the state its hops touch.
  CLinkSession m_link;
};

}  // namespace tolvane
