#include "bench/BenchSession.h"

#include "bench/ProductionProfile.h"
#include "engine/ProvisionJob.h"
#include "res/Strings.h"

namespace tolvane {

namespace {

// Units per hour changes as time goes, and other stations take from the same pool.
constexpr std::chrono::seconds kRefreshEvery{10};

// Each slot as the port list shows it now, or its COM name when nothing is there yet.
std::vector<std::string> SlotCaptions(IProvisionPlatform& platform, const std::vector<int>& numbers) {
  const std::vector<std::string> listed = platform.Ports().ListPorts();
  std::vector<std::string> captions;
  for (const int number : numbers) {
    const std::string name = "COM" + std::to_string(number);
    std::string caption = name;
    for (const std::string& entry : listed)
      if (entry == name || entry.starts_with(name + " ")) caption = entry;
    captions.push_back(caption);
  }
  return captions;
}

}  // namespace

CBenchSession::CBenchSession(IProvisionPlatform& platform, CBenchStart start, IBenchWindow& window,
                             WindowPoster toWindow)
    : m_window(window),
      m_toWindow(std::move(toWindow)),
      m_strLocked(FormatString(LoadString(IDS_BENCH_LOCKED), start.profileName)),
      m_profileRows(DescribeProfile(start.run.profile)),
      m_thread(platform.StartLoopThread()) {
  auto shared = std::make_shared<CBenchStart>(std::move(start));
  const TextLanguage language = GetThreadTextLanguage();
  OnJob([this, &platform, shared, language] {
    SetThreadTextLanguage(language);
    m_pool = std::move(shared->pool);
    CBenchSetup setup;
    setup.ports = SlotCaptions(platform, shared->options.comNumbers);
    setup.profileName = shared->profileName;
    setup.profile = shared->run.profile;
    setup.labels = shared->labels;
    setup.pool = m_pool.get();
    m_model = std::make_unique<CBenchModel>(std::move(setup));
    m_model->SetView(this);
    m_job = std::make_unique<CProvisionJob>(platform, m_thread->Loop(), shared->options, std::move(shared->run.profile),
                                            std::move(shared->run.imeis), [](const std::string&) {});
    m_job->SetObserver(m_model.get());
    m_model->SetResumeHandler([this](int slot) { m_job->ResumeSlot(slot); });
    m_job->SetFinishedHandler([this](int status) { OnJobFinished(status); });
    m_abandonable = m_job.get();
    Publish();
    m_job->Start();
    ScheduleRefresh();
  });
}

void CBenchSession::OnJobFinished(int status) {
  m_finishedStatus = status;
  if (m_bClosing) {
    m_toWindow([&window = m_window, status] { window.BenchClosed(status); });
    return;
  }
  // A bench that waits for units ends by itself only on a fault or when its IMEIs are used up: it
  // stays on screen with its verdicts, saying why, until the operator closes it.
  const CRunReport& report = m_job->Report();
  const std::string why = !report.poolFault.empty() ? report.poolFault
                          : !report.fault.empty()   ? report.fault
                                                    : LoadString(IDS_BENCH_NO_IMEI_LEFT);
  m_strBanner = FormatString(LoadString(IDS_BENCH_STOPPED), why);
  Publish();
}

void CBenchSession::ScheduleRefresh() {
  m_thread->Loop().PostAfter(kRefreshEvery, [this] {
    if (m_bClosing || !m_model) return;
    m_model->RefreshPool();
    Publish();
    ScheduleRefresh();
  });
}

CBenchSession::~CBenchSession() {
  OnJob([this] {
    m_abandonable = nullptr;
    m_job.reset();
    m_model.reset();
    m_pool.reset();
  });
  m_thread.reset();
}

void CBenchSession::OnJob(std::function<void()> task) { m_thread->Loop().Post(std::move(task)); }

void CBenchSession::SetLabel(int slot, const std::string& text) {
  OnJob([this, slot, text] {
    if (m_model && !m_bClosing) m_model->SetLabel(slot, text);
  });
}

void CBenchSession::Release(const std::string& imei) {
  OnJob([this, imei] {
    if (!m_model) return;
    const auto& claims = m_model->Unconfirmed();
    for (std::size_t row = 0; row < claims.size(); ++row) {
      if (claims[row].imei != imei) continue;
      m_strNote = m_model->Release(row) ? FormatString(LoadString(IDS_BENCH_RELEASED), imei) : std::string();
      break;
    }
    Publish();
  });
}

void CBenchSession::Keep(const std::string& imei) {
  OnJob([this, imei] {
    m_strNote = FormatString(LoadString(IDS_BENCH_KEPT), imei);
    Publish();
  });
}

void CBenchSession::SetSound(bool on) {
  OnJob([this, on] {
    if (m_model) m_model->SetSoundOn(on);
  });
}

void CBenchSession::Close() {
  const int count = ++m_nCloses;
  // A wait for a pool that does not answer holds the job's thread: the second close ends it here.
  if (CProvisionJob* job = m_abandonable.load(); job && count > 1) job->Abandon();
  OnJob([this, count] {
    m_bClosing = true;
    m_strBanner = LoadString(IDS_BENCH_CLOSING);
    if (m_finishedStatus) {
      m_toWindow([&window = m_window, status = *m_finishedStatus] { window.BenchClosed(status); });
    } else if (m_job) {
      m_job->Stop(count);
    }
    Publish();
  });
}

void CBenchSession::OnTileChanged(int) { Publish(); }
void CBenchSession::OnCountersChanged() { Publish(); }

void CBenchSession::OnBeep() {
  m_toWindow([&window = m_window] { window.Beep(); });
}

void CBenchSession::Publish() {
  // Many changes in one task make one picture.
  if (m_bPublishPending) return;
  m_bPublishPending = true;
  OnJob([this] {
    m_bPublishPending = false;
    if (!m_model) return;
    CBenchSnapshot bench;
    bench.tiles = m_model->Tiles();
    bench.counters = m_model->CounterTexts();
    bench.unconfirmed = m_model->Unconfirmed();
    bench.poolNote =
        m_model->PoolFault().empty() ? m_strNote : FormatString(LoadString(IDS_BENCH_POOL_FAULT), m_model->PoolFault());
    bench.banner = m_strBanner;
    m_toWindow([&window = m_window, bench = std::move(bench)] { window.ShowBench(bench); });
  });
}

}  // namespace tolvane
