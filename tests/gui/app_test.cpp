// The whole editor as main() builds it, on a simulated mouse and a fake
// clock: the start-up order, polling, acceptance and loss of the mouse, the
// storage-dependent pages, the profile files, Reset and the single instance.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "core/app/mouse_doctor.h"
#include "core/buttons/key_code_table.h"
#include "core/config/config_text.h"
#include "core/image/default_image.h"
#include "gui/editor_app.h"
#include "gui/options.h"
#include "gui/page_group.h"
#include "gui/pages/button_page.h"
#include "gui/scripted_dialogs.h"
#include "gui/single_instance.h"
#include "gui/skin_widgets.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

const QString kNoDeviceText =
    QStringLiteral("No Device Found\nPlease check your device is attached to USB port");
const QString kFlashFlashImage =
    QStringLiteral(KORVEX48_SOURCE_DIR "/resources/image/KORVEX48DATA-flash-flash");

// The editor over a simulated mouse of `kind`; `prepare` changes the mouse
// (or the bus) before the window is shown.
struct AppRig {
  explicit AppRig(SimulatedStorage kind = SimulatedStorage::kI2C, const QString& default_image = {},
                  const std::function<void(SimulatedMouse&)>& prepare = {},
                  bool later_pages = false) {
    EditorAppConfig config;
    config.later_pages = later_pages;
    config.device.simulate = kind;
    config.device.default_image_file = default_image.toStdString();
    config.device.trace_file = Path("trace.txt").toStdString();
    config.library_path = Path("Macro.bin").toStdString();
    config.dialogs = &dialogs;
    config.clock = &clock;
    std::string error;
    app = EditorApp::Create(config, &error);
    if (!app) qFatal("editor: %s", error.c_str());
    made_before_show = app->Window().LaterPagesBuilt();
    if (prepare) prepare(Mouse());
    app->Show();
    if (!QTest::qWaitForWindowExposed(&app->Window())) qFatal("window not exposed");
  }

  bool made_before_show = false;
  QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
  SimulatedMouse& Mouse() { return *app->Simulated(); }
  MainWindow& Window() { return app->Window(); }
  QWidget* W(const QString& name) { return Window().Controls().Find(name); }
  QString Picture(const QString& name) {
    auto* p = qobject_cast<PictureLabel*>(W(name));
    return p ? p->picture() : QStringLiteral("<missing>");
  }
  QStringList TraceLines() const {
    QFile file(Path("trace.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  // The first poll: the mouse (and whatever else is on the bus) arrives.
  PollOutcome Connect() { return app->Poll(); }
  bool NoDeviceLook() {
    if (!app->Core().Session().NoDevicePage || !Window().NoDeviceLook()) return false;
    for (int k = 1; k <= 5; ++k)
      if (Window().Group(k)->isVisible() != (k == 1)) return false;
    for (int k = 1; k <= 5; ++k)
      if (Picture(QStringLiteral("Img_Main_%1").arg(k)) != QLatin1String("SetS_02")) return false;
    return true;
  }

  QTemporaryDir dir;
  FakeClock clock;
  ScriptedDialogs dialogs;
  std::unique_ptr<EditorApp> app;
};

void SetCode(SimulatedMouse& mouse, int profile, int button, std::array<std::uint8_t, 4> code) {
  const std::size_t at = *KeyCodeOffset(profile, button);
  for (std::size_t i = 0; i < 4; ++i) mouse.Profiles()[at + i] = code[i];
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray Bytes(std::span<const std::uint8_t> bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startsWithoutSearchingAndOpensOnTheFirstPoll() {
    AppRig rig(SimulatedStorage::kI2C, {}, [](SimulatedMouse& mouse) {
      SetCode(mouse, 1, 2, {0x01, 0x01, 0x00, 0x00});  // button 2: Left Key
    });
    // Nothing searched during the start: no report, no count taken.
    QCOMPARE(rig.TraceLines().size(), 0);
    QCOMPARE(rig.Mouse().ConfigReportsSeen(), std::uint64_t{0});
    QCOMPARE(rig.app->Core().Session().LastHidCount, 0);
    QVERIFY(!rig.app->Core().Session().HandlesValid());
    // The pages show the default image until then.
    QCOMPARE(Bytes(rig.app->Core().Working().parameters),
             Bytes(DefaultImageBytes().first(kParameterSectionSize)));
    QVERIFY(!rig.app->Core().Session().NoDevicePage);
    // PollTimer is the poll step, first due 3.5 s after the start.
    QTimer& timer = rig.Window().DevicePolling();
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 3500);
    QVERIFY(QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection));

    QVERIFY(rig.app->MouseShown());
    QVERIFY(rig.dialogs.messages.isEmpty());
    // The first report went out after the 2.1 s wait of the poll step.
    const QStringList trace = rig.TraceLines();
    QVERIFY(!trace.isEmpty());
    QCOMPARE(trace.first().section(QLatin1Char(' '), 0, 0), QStringLiteral("2100"));
    QVERIFY2(trace.first().contains(QStringLiteral("> 40 0D")), qPrintable(trace.first()));
    // Read and shown: the mouse's own code on the button page.
    QCOMPARE(qobject_cast<QLabel*>(rig.W(QStringLiteral("Key2")))->text(),
             qobject_cast<QLabel*>(rig.W(QStringLiteral("Key1")))->text());
    QVERIFY(rig.Window().Group(1)->isVisible());
    QVERIFY(timer.isActive());
    QVERIFY(rig.W(QStringLiteral("Disable_All_1"))->isHidden());
  }

  void unrelatedArrivalWithoutTheMouseSaysNoDevice() {
    AppRig rig(SimulatedStorage::kI2C, {}, [](SimulatedMouse& mouse) { mouse.Unplug(); });
    QCOMPARE(rig.Connect(), PollOutcome::kUnchanged);
    rig.Mouse().SetOtherInterfaces(1);
    QCOMPARE(rig.Connect(), PollOutcome::kNotFound);
    QCOMPARE(rig.dialogs.messages, QStringList{kNoDeviceText});
    QCOMPARE(rig.dialogs.captions.first(), rig.Window().ApplicationTitle());
    QVERIFY(!rig.dialogs.captions.first().isEmpty());
    QVERIFY(rig.NoDeviceLook());
    QVERIFY(rig.W(QStringLiteral("Disable"))->isVisible());
  }

  // A real mouse that does not show up: the no-device look names the first
  // failed check and points to korvex48ctl doctor, until the mouse is found.
  void noDeviceLookNamesTheFirstFailedCheck() {
    struct NoRules final : MachineFacts {
      std::vector<std::string> UdevRuleFolders() const override { return {"/rules"}; }
      std::vector<std::string> InstalledUdevRules(std::uint16_t, std::uint16_t) const override {
        return {};
      }
    } facts;
    AppRig rig(SimulatedStorage::kI2C, {}, [](SimulatedMouse& mouse) { mouse.Unplug(); });
    rig.app->GetEngine().MouseConnection().SetMachineFacts(&facts);
    rig.Mouse().SetOtherInterfaces(1);
    QCOMPARE(rig.Connect(), PollOutcome::kNotFound);
    QVERIFY(rig.NoDeviceLook());
    auto* line = rig.Window().findChild<QLabel*>(QStringLiteral("lbl_NoDeviceReason"));
    QVERIFY(line);
    QVERIFY(line->isVisible());
    QVERIFY2(line->text().startsWith(
                 QStringLiteral("Hidraw nodes: 1 found; none is the Korvex48 mouse")),
             qPrintable(line->text()));
    QVERIFY(line->text().endsWith(
        QStringLiteral("Run korvex48ctl doctor for every check and its fix.")));

    rig.Mouse().Plug();
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QVERIFY(line->isHidden());
  }

  void unrelatedRemovalWhileConnectedRunsDeviceLost() {
    AppRig rig(SimulatedStorage::kI2C, {},
               [](SimulatedMouse& mouse) { mouse.SetOtherInterfaces(2); });
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QVERIFY(rig.app->MouseShown());
    auto* macros = rig.Window().Controls().Get<QListWidget>(QStringLiteral("LB_MacroName"));
    QVERIFY(macros);
    macros->addItem(QStringLiteral("left from the mouse"));

    rig.Mouse().SetOtherInterfaces(1);
    QCOMPARE(rig.Connect(), PollOutcome::kLost);
    QVERIFY(rig.Mouse().Present());  // the mouse itself never left
    QCOMPARE(rig.dialogs.messages, QStringList{kNoDeviceText});
    QVERIFY(!rig.app->Core().Session().HandlesValid());
    QVERIFY(rig.NoDeviceLook());
    QCOMPARE(macros->count(), 0);
    // Page buttons wait for the mouse.
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Adv_1")), Qt::LeftButton);
    QCOMPARE(rig.Window().CurrentPage(), PageId::kMain);
  }

  void refusedCustomerIdShowsStr107AndKeepsLoading() {
    AppRig rig(SimulatedStorage::kI2C, {}, [](SimulatedMouse& mouse) {
      mouse.SetCustomerId({0x12, 0x34});
    });
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QCOMPARE(rig.app->Core().LastDevInfo().outcome, DevInfoOutcome::kRefused);
    QCOMPARE(rig.dialogs.messages,
             QStringList{QStringLiteral("The mouse manufacturer or product id error")});
    QCOMPARE(rig.dialogs.captions.first(), QString());  // an OK box has no caption
    QVERIFY(rig.app->Core().Session().Loading);
    QVERIFY(rig.Window().DevicePolling().isActive());  // polling resumes after the box
    // Nothing is written to a refused mouse: Reset says there is no device.
    rig.dialogs.messages.clear();
    const std::uint64_t reports = rig.Mouse().ConfigReportsSeen();
    rig.app->Reset();
    QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("Not find the specified device")});
    QCOMPARE(rig.Mouse().ConfigReportsSeen(), reports);
  }

  void storageMismatchShowsStr102AndTheNoDeviceLook() {
    // A "Flash" + "Flash" mouse against the built-in "I2C" default image.
    AppRig rig(SimulatedStorage::kFlashFlash);
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QCOMPARE(rig.app->Core().LastDevInfo().outcome, DevInfoOutcome::kStorageMismatch);
    QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("Korvex48Data.bin file type error")});
    QCOMPARE(rig.dialogs.captions.first(), rig.Window().ApplicationTitle());
    QVERIFY(rig.NoDeviceLook());
  }

  void updateOnlyForFlashFlash_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("image");
    QTest::addColumn<bool>("update");
    QTest::newRow("I2C") << static_cast<int>(SimulatedStorage::kI2C) << QString() << false;
    QTest::newRow("Flash + I2C") << static_cast<int>(SimulatedStorage::kFlashI2C) << QString()
                                 << false;
    QTest::newRow("Flash + Flash")
        << static_cast<int>(SimulatedStorage::kFlashFlash) << kFlashFlashImage << true;
  }
  void updateOnlyForFlashFlash() {
    QFETCH(int, kind);
    QFETCH(QString, image);
    QFETCH(bool, update);
    AppRig rig(static_cast<SimulatedStorage>(kind), image);
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QVERIFY(rig.app->MouseShown());
    for (int k = 1; k <= 5; ++k) {
      QCOMPARE(!rig.W(QStringLiteral("Btn_Update_%1").arg(k))->isHidden(), update);
      QCOMPARE(!rig.W(QStringLiteral("Img_Update_%1").arg(k))->isHidden(), update);
    }
    if (!update) return;
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Update_1")), Qt::LeftButton);
    QCOMPARE(rig.Window().CurrentPage(), PageId::kUpdate);
    QVERIFY(rig.Window().Group(5)->isVisible());
  }

  void defaultImageFileIsChecked() {
    QTemporaryDir dir;
    const QString short_image = dir.filePath(QStringLiteral("short.bin"));
    QVERIFY(WriteAll(short_image, QByteArray(767, '\xE0')));
    std::string error;
    QVERIFY(!ReadDefaultImageFile(short_image.toStdString(), &error));
    QVERIFY(error.find("768") != std::string::npos);
    QVERIFY(!ReadDefaultImageFile(dir.filePath(QStringLiteral("none")).toStdString(), &error));
    QVERIFY(ReadDefaultImageFile(kFlashFlashImage.toStdString(), &error));
    // The editor does not start on a refused image.
    EditorAppConfig config;
    config.device.simulate = SimulatedStorage::kI2C;
    config.device.default_image_file = short_image.toStdString();
    config.library_path = dir.filePath(QStringLiteral("Macro.bin")).toStdString();
    ScriptedDialogs dialogs;
    config.dialogs = &dialogs;
    FakeClock clock;
    config.clock = &clock;
    error.clear();
    QVERIFY(!EditorApp::Create(config, &error));
    QVERIFY(error.find("short.bin") != std::string::npos);
  }

  void parsesTheEditorsOwnOptions() {
    auto no_env = [](const char*) -> const char* { return nullptr; };
    auto ok = ParseGuiOptions(
        {"--simulate", "--bench", "--ui-log=/tmp/u", "--default-image", "/tmp/img"}, no_env);
    QVERIFY(ok.options);
    QVERIFY(ok.options->bench);
    QCOMPARE(ok.options->ui_log_file, std::string("/tmp/u"));
    QCOMPARE(ok.options->device.default_image_file, std::string("/tmp/img"));
    for (std::vector<std::string> bad :
         std::vector<std::vector<std::string>>{{"--bench"}, {"--ui-log"}, {"--ui-log="}})
      QVERIFY2(!ParseGuiOptions(bad, no_env).options, bad.front().c_str());
  }

  void saveAndLoadProfileThroughTheFileSeam() {
    AppRig rig;
    // Without a mouse no dialog opens.
    rig.app->SaveProfile();
    rig.app->LoadProfile();
    QCOMPARE(rig.dialogs.messages, QStringList(2, QStringLiteral("Not find the specified device")));
    QVERIFY(rig.dialogs.filters.isEmpty());
    rig.dialogs.messages.clear();
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);

    // Save: ".bin" is appended to the chosen name.
    const QString chosen = rig.Path("profile");
    const QString target = chosen + QStringLiteral(".bin");
    rig.dialogs.save_answers = {chosen};
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Save_1")), Qt::LeftButton);
    QCOMPARE(rig.dialogs.filters,
             QStringList{QStringLiteral("SaveFile(*.bin);;Configuration text (*.json)")});
    QVERIFY(rig.dialogs.questions.isEmpty());
    const QByteArray saved = ReadAll(target);
    QCOMPARE(saved.size(), 768);
    QCOMPARE(static_cast<std::uint8_t>(saved[0]), std::uint8_t{0xE0});
    QCOMPARE(saved.mid(104, 145), Bytes(rig.Mouse().Profiles()));

    // The replace question names the real target; "no" keeps the file.
    QVERIFY(WriteAll(target, QByteArray("keep")));
    rig.dialogs.save_answers = {chosen};
    rig.dialogs.confirm_answers = {false};
    rig.app->SaveProfile();
    QCOMPARE(rig.dialogs.questions.size(), 1);
    QVERIFY(rig.dialogs.questions.first().contains(QStringLiteral("profile.bin")));
    QCOMPARE(ReadAll(target), QByteArray("keep"));
    rig.dialogs.save_answers = {chosen};
    rig.dialogs.confirm_answers = {true};
    rig.app->SaveProfile();
    QCOMPARE(ReadAll(target), saved);

    // Load: the file goes to the mouse as it is.
    QByteArray changed = saved;
    changed[104 + 10] = '\x5A';  // a profile byte
    QVERIFY(WriteAll(target, changed));
    rig.dialogs.filters.clear();
    rig.dialogs.open_answers = {target};
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Load_1")), Qt::LeftButton);
    QCOMPARE(rig.dialogs.filters,
             QStringList{QStringLiteral("LoadFile(*.bin);;Configuration text (*.json)")});
    QVERIFY(rig.dialogs.messages.isEmpty());
    QCOMPARE(Bytes(rig.Mouse().Profiles()), changed.mid(104, 145));
    QVERIFY(rig.W(QStringLiteral("Disable_All_1"))->isHidden());

    // A file of the other layout is refused and changes nothing.
    QByteArray other = changed;
    other[0] = '\xF0';
    other[104 + 10] = '\x11';
    QVERIFY(WriteAll(target, other));
    rig.dialogs.open_answers = {target};
    rig.app->LoadProfile();
    QCOMPARE(rig.dialogs.messages,
             QStringList{QStringLiteral("Loading .bin is error!\n\nnot a profile file of this "
                                        "mouse's storage: its first byte is 0xF0, not 0xE0")});
    QCOMPARE(Bytes(rig.Mouse().Profiles()), changed.mid(104, 145));

    // A file that cannot be written is reported, not taken for saved.
    rig.dialogs.messages.clear();
    rig.dialogs.save_answers = {rig.Path("no/such/folder/p")};
    rig.app->SaveProfile();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages.first().contains(QStringLiteral("no/such/folder/p.bin")));
  }

  // The text form beside the binary profile: a ".json" name saves it, a
  // file that holds it is applied as korvex48ctl apply does, and one that
  // does not read says where and changes nothing.
  void saveAndLoadConfigurationText() {
    AppRig rig;
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    const QString path = rig.Path("mouse.json");
    rig.dialogs.save_answers = {path};
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Save_1")), Qt::LeftButton);
    QVERIFY(rig.dialogs.messages.isEmpty());
    const QByteArray saved = ReadAll(path);
    TextProblem problem;
    const std::optional<Configuration> config =
        ConfigurationFromText(saved.toStdString(), &problem);
    QVERIFY2(config.has_value(), problem.Line().c_str());
    QCOMPARE(config->dpi_level_count, 7);

    // Button 5 of profile 1 only: the first of the three.
    const QByteArray right = R"({"button": 5, "function": "Right Key"})";
    QByteArray changed = saved;
    const qsizetype at = changed.indexOf(right);
    QVERIFY(at >= 0);
    changed.replace(at, right.size(), R"({"button": 5, "function": "Middle Key"})");
    QVERIFY(WriteAll(path, changed));
    rig.dialogs.open_answers = {path};
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Load_1")), Qt::LeftButton);
    QCOMPARE(rig.dialogs.messages,
             QStringList{QStringLiteral(
                 "Changed on the mouse:\nprofile 1 button 5: Right Key -> Middle Key")});
    QCOMPARE(rig.Mouse().Profiles()[16], std::uint8_t{0x01});
    QCOMPARE(rig.Mouse().Profiles()[17], std::uint8_t{0x04});
    QCOMPARE(qobject_cast<QLabel*>(rig.W(QStringLiteral("Key5")))->text(),
             QStringLiteral("Middle Key"));

    rig.dialogs.messages.clear();
    QVERIFY(WriteAll(path, QByteArray(changed).replace("\"Middle Key\"}", "\"Midle Key\"}")));
    rig.dialogs.open_answers = {path};
    rig.app->LoadProfile();
    QCOMPARE(rig.dialogs.messages,
             QStringList{QStringLiteral("mouse.json\nprofile 1, button 5, function: unknown "
                                        "function \"Midle Key\"; did you mean \"Middle Key\"?")});
    QCOMPARE(rig.Mouse().Profiles()[17], std::uint8_t{0x04});
  }

  void resetWritesTheDefaults() {
    AppRig rig(SimulatedStorage::kI2C, {}, [](SimulatedMouse& mouse) {
      mouse.Parameters()[38] = 0x12;
      SetCode(mouse, 1, 2, {0x01, 0x01, 0x00, 0x00});
    });
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QCOMPARE(rig.Mouse().Parameters()[38], std::uint8_t{0x12});
    rig.dialogs.confirm_answers = {true};  // Reset asks first
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Reset_1")), Qt::LeftButton);
    QCOMPARE(rig.dialogs.irreversible.size(), 1);
    QVERIFY(rig.dialogs.messages.isEmpty());
    const auto image = DefaultImageBytes();
    QCOMPARE(Bytes(rig.Mouse().Parameters()), Bytes(image.first(kParameterSectionSize)));
    QCOMPARE(Bytes(rig.Mouse().Profiles()),
             Bytes(image.subspan(kParameterSectionSize, kProfileSectionSize)));
    // And the pages show them.
    QVERIFY(qobject_cast<QLabel*>(rig.W(QStringLiteral("Key2")))->text() !=
            qobject_cast<QLabel*>(rig.W(QStringLiteral("Key1")))->text());
    QVERIFY(rig.W(QStringLiteral("Disable_All_1"))->isHidden());
    QVERIFY(rig.Window().DevicePolling().isActive());
  }

  void exitLetsTheMouseGo() {
    AppRig rig;
    QCOMPARE(rig.Connect(), PollOutcome::kOpened);
    QVERIFY(rig.app->Core().Session().HandlesValid());
    QTest::mouseClick(rig.W(QStringLiteral("Btn_Exit_1")), Qt::LeftButton);
    QVERIFY(!rig.Window().isVisible());
    QVERIFY(!rig.app->Core().Session().HandlesValid());
  }

  // The program makes the pages not on show after the window's first paint.
  // Until then only the button pages exist; afterwards, and once the mouse
  // was read, every control is as in a window made with all its pages.
  void laterPagesEqualPagesMadeAtOnce() {
    AppRig now(SimulatedStorage::kFlashFlash, kFlashFlashImage);
    AppRig later(SimulatedStorage::kFlashFlash, kFlashFlashImage, {}, true);
    QVERIFY(now.made_before_show);
    QVERIFY(!later.made_before_show);
    QTRY_VERIFY(later.Window().LaterPagesBuilt());
    QCOMPARE(later.Window().Controls().Size(), now.Window().Controls().Size());
    QCOMPARE(qobject_cast<QListWidget*>(later.W(QStringLiteral("LB_PCMacroName")))->count(), 23);
    auto same = [&] {
      QCOMPARE(later.Window().Controls().Missing(), now.Window().Controls().Missing());
      int compared = 0;
      for (QWidget* control : now.Window().findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        QWidget* other = later.Window().findChild<QWidget*>(name);
        QVERIFY2(other, qPrintable(name));
        // As they are once shown: a control made after the window's first
        // show is polished (its style sheet applied) when it is shown.
        other->ensurePolished();
        control->ensurePolished();
        QVERIFY2(other->geometry() == control->geometry(), qPrintable(name));
        QVERIFY2(other->isVisibleTo(&later.Window()) == control->isVisibleTo(&now.Window()),
                 qPrintable(name));
        QVERIFY2(other->isEnabled() == control->isEnabled(), qPrintable(name));
        QVERIFY2(other->font() == control->font(), qPrintable(name));
        QVERIFY2(other->palette() == control->palette(), qPrintable(name));
        for (const char* property : {"text", "picture", "checked", "value", "currentIndex"})
          QVERIFY2(other->property(property) == control->property(property),
                   qPrintable(name + QLatin1Char(' ') + QLatin1String(property)));
        ++compared;
      }
      QVERIFY(compared > 300);
    };
    same();
    if (QTest::currentTestFailed()) return;
    for (AppRig* rig : {&now, &later}) QCOMPARE(rig->Connect(), PollOutcome::kOpened);
    same();
  }

  void secondStartRaisesTheFirstWindow() {
    AppRig rig;
    SingleInstance first(kWindowTitle);
    QCOMPARE(first.Claim(), SingleInstance::Outcome::kListening);
    QVERIFY(QDir::isAbsolutePath(first.ServerName()));
    QVERIFY(first.ServerName().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
    rig.app->RaiseOnRequest(first);
    rig.Window().setWindowState(Qt::WindowMinimized);
    rig.Window().hide();
    SingleInstance second(kWindowTitle);
    QCOMPARE(second.Claim(), SingleInstance::Outcome::kRaisedOther);
    QTRY_VERIFY(rig.Window().isVisible());
    QVERIFY(!(rig.Window().windowState() & Qt::WindowMinimized));
  }
};

KORVEX48_GUI_TEST(AppTest)

}  // namespace korvex48::gui

#include "app_test.moc"
