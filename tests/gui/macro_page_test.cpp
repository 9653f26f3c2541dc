// The Macro and Update pages over a simulated mouse: the PC library list, the
// device macro list in both storage layouts, the event list of a selected
// macro, the commands that go to the core, and the Update page of a "Flash" +
// "Flash" mouse.
#include "gui/pages/macro_page.h"

#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/app/app_core.h"
#include "core/common/clock.h"
#include "core/common/file_io.h"
#include "core/device/command_set.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/macros/macro_lines.h"
#include "core/macros/slot_layout.h"
#include "gui/main_window.h"
#include "gui/page_group.h"
#include "gui/pages/macro_commands.h"
#include "gui/pages/macro_event_list.h"
#include "gui/pages/update_page.h"
#include "gui/scripted_dialogs.h"
#include "gui/skin_widgets.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

// Right button press, 30 ms delay, right button release.
const Bytes kFire = {0xA2, 0xFE, 0x00, 0x1E, 0x22, 0x00};
// Ctrl down, C down, C up, Ctrl up.
const Bytes kCopy = {0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01, 0x00};

void Put(SimulatedMouse& mouse, std::size_t at, ByteView bytes) {
  std::copy(bytes.begin(), bytes.end(), mouse.Memory().begin() + static_cast<long>(at));
}

// Two device macros, "Fire" and "Copy", in the mouse's own layout.
void StoreTwoMacros(SimulatedMouse& mouse) {
  const MacroName fire = MacroNameFromText("Fire");
  const MacroName copy = MacroNameFromText("Copy");
  if (mouse.Storage() == SimulatedStorage::kFlashFlash) {
    std::fill_n(mouse.Memory().begin() + kSlotNamesAddress, kSlotNamesTableSize, 0);
    Put(mouse, kSlotNamesAddress, fire);
    Put(mouse, kSlotNamesAddress + 16, copy);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot)
      std::fill_n(mouse.Memory().begin() + SlotAddress(slot), 256, 0);
    Put(mouse, SlotAddress(0), kFire);
    Put(mouse, SlotAddress(1), kCopy);
    return;
  }
  const std::size_t base = mouse.Storage() == SimulatedStorage::kI2C ? 0x0200 : 0x4000;
  std::fill_n(mouse.Memory().begin() + static_cast<long>(base), 512, 0);
  Put(mouse, base, fire);
  Put(mouse, base + 16, kFire);
  Put(mouse, base + 16 + kFire.size(), copy);
  Put(mouse, base + 32 + kFire.size(), kCopy);
}

// The window, core and macro commands over a simulated mouse on a fake clock,
// with a private library file; the mouse is opened and read.
struct Rig {
  explicit Rig(SimulatedStorage storage, bool macros = true) : mouse(storage, clock) {
    std::string error;
    window = MainWindow::Create(&dialogs, nullptr, &error);
    if (!window) qFatal("window: %s", error.c_str());
    window->show();
    transport = std::make_unique<Transport>(window->Session(), mouse, clock);
    ui = std::make_unique<WindowAppUi>(*window);
    commands = std::make_unique<CommandSet>(*transport, *ui);
    core = std::make_unique<AppCore>(*transport, *commands, *ui, clock);
    MainWindow* shown = window.get();
    core->SetTextLookup(
        [shown](std::string_view key) { return shown->Context().Texts().Text(key); });
    if (storage == SimulatedStorage::kFlashFlash) {
      auto image = ReadWholeFile(KORVEX48_SOURCE_DIR "/resources/image/KORVEX48DATA-flash-flash");
      if (!image) qFatal("flash-flash default image missing");
      core->SetDefaultImage(*image);
    }
    core->Start();
    new MacroCommands(*window, *core, *ui, (library_dir.path() + "/Macro.bin").toStdString());
    window->ShowImage();
    if (macros) StoreTwoMacros(mouse);
    transport->OpenDevice(core->Defaults().vendor_id, core->Defaults().product_id);
    core->ReadDevInfo();
    dialogs.messages.clear();
  }

  MacroPage* Page() const { return window->Macros(); }
  QListWidget* List(const char* name) const {
    return window->Controls().Get<QListWidget>(QLatin1String(name));
  }
  QStringList Rows(const char* name) const {
    QStringList rows;
    QListWidget* list = List(name);
    for (int i = 0; i < list->count(); ++i) rows.append(list->item(i)->text());
    return rows;
  }
  // What LB_macro draws: the text of every event item.
  QStringList Events() const {
    QStringList texts;
    QListWidget* list = List("LB_macro");
    for (int i = 0; i < list->count(); ++i)
      texts.append(MacroEventText(list->item(i)->data(kMacroLineRole).toString()));
    return texts;
  }
  void ClickRow(const char* name, int row) {
    QListWidget* list = List(name);
    list->scrollToItem(list->item(row));
    const QRect at = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
  }
  bool Checked(const char* name) const {
    auto* b = window->Controls().Get<QAbstractButton>(QLatin1String(name));
    return b && b->isChecked();
  }
  void Command(const char* name) {
    Q_EMIT window->Controls().Get<TextLabel>(QLatin1String(name))->clicked();
  }

  QTemporaryDir library_dir;
  ScriptedDialogs dialogs;
  FakeClock clock;
  SimulatedMouse mouse;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Transport> transport;
  std::unique_ptr<WindowAppUi> ui;
  std::unique_ptr<CommandSet> commands;
  std::unique_ptr<AppCore> core;
};

}  // namespace

class MacroPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void eventTexts_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("modifier") << "1 Ctrl CODE:8101" << 1 << "Ctrl";
    QTest::newRow("release") << "2 Left Windows CODE:0108" << 2 << "Left Windows";
    QTest::newRow("button") << "1 LeftKey CODE:00A1" << 1 << "LeftKey";
    QTest::newRow("delay") << "0 30" << 0 << "30 ms";
    QTest::newRow("x+") << "3 04050021" << 3 << "X-Axis  5";
    QTest::newRow("x-") << "4 04FB0021" << 4 << "X-Axis  -5";
    QTest::newRow("y+") << "5 04000521" << 5 << "Y-Axis  5";
    QTest::newRow("y-") << "6 0400FB21" << 6 << "Y-Axis  -5";
    QTest::newRow("repeat") << "7 FD0A" << 7 << "Rep-Start  10";
    QTest::newRow("stop") << "8 FC" << 8 << "Rep-Stop";
    QTest::newRow("no digit") << "x 12" << 0 << "12 ms";
    QTest::newRow("kind 9") << "9 12" << 0 << "12 ms";
    QTest::newRow("short press") << "1 A" << 1 << "";
    QTest::newRow("short move") << "3 0" << 3 << "X-Axis  0";
  }
  void eventTexts() {
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QCOMPARE(MacroLineKind(line), kind);
    QCOMPARE(MacroEventText(line), text);
  }

  void valueFieldsKeepTheirRange_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("repeat high") << "edt_Repeat"
                                 << "300"
                                 << "255";
    QTest::newRow("repeat zero") << "edt_Repeat"
                                 << "0"
                                 << "1";
    QTest::newRow("x low") << "edt_XAxisValue"
                           << "-300"
                           << "-127";
    QTest::newRow("y high") << "edt_YAxisValue"
                            << "128"
                            << "127";
    QTest::newRow("x in range") << "edt_XAxisValue"
                                << "-5"
                                << "-5";
    QTest::newRow("delay high") << "Edt_Delay"
                                << "99999"
                                << "65535";
    QTest::newRow("insert delay empty") << "Edt_InsertDelay"
                                        << ""
                                        << "1";
    QTest::newRow("letters refused") << "edt_Repeat"
                                     << "a7b"
                                     << "7";
  }
  void valueFieldsKeepTheirRange() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    ScriptedDialogs dialogs;
    std::string error;
    auto window = MainWindow::Create(&dialogs, nullptr, &error);
    QVERIFY(window);
    auto* edit = window->Controls().Get<QLineEdit>(field);
    QVERIFY(edit);
    edit->setReadOnly(false);
    edit->clear();
    QTest::keyClicks(edit, typed);
    Q_EMIT edit->editingFinished();
    QCOMPARE(edit->text(), kept);
  }

  void libraryListShowsTheDefaultLibrary() {
    Rig rig(SimulatedStorage::kI2C);
    const QStringList rows = rig.Rows("LB_PCMacroName");
    QCOMPARE(rows.size(), 23);
    for (int i = 0; i < rows.size(); ++i)
      QCOMPARE(rows[i], QString::fromStdString(rig.Page()->Library().MacroText(i)));
    QVERIFY(QFileInfo(rig.library_dir.path() + "/Macro.bin").size() == 27200);
    QVERIFY(rig.window->Controls().Find("Btn_NewMacro")->isEnabled());

    // A row opens its macro: one event item per decoded line, the bytes in
    // the hex dump.
    rig.ClickRow("LB_PCMacroName", 2);
    const std::size_t length = rig.Page()->Library().EventLength(2);
    const ByteView bytes = ByteView(rig.Page()->Library().Slot(2).events).first(length);
    const MacroLines lines = DecodeMacroLines(bytes);
    QVERIFY(rig.Page()->ShowsLibraryMacro());
    QCOMPARE(rig.List("LB_macro")->count(), static_cast<int>(lines.size()) - 1);
    QCOMPARE(rig.window->Controls().Get<QPlainTextEdit>("mmo_wrscript")->toPlainText(),
             QString::fromStdString(BytesToHex(bytes)));
  }

  void deviceMacrosInBothLayouts_data() {
    QTest::addColumn<int>("storage");
    QTest::newRow("packed I2C") << static_cast<int>(SimulatedStorage::kI2C);
    QTest::newRow("packed Flash+I2C") << static_cast<int>(SimulatedStorage::kFlashI2C);
    QTest::newRow("slot Flash+Flash") << static_cast<int>(SimulatedStorage::kFlashFlash);
  }
  void deviceMacrosInBothLayouts() {
    QFETCH(int, storage);
    Rig rig(static_cast<SimulatedStorage>(storage));
    QCOMPARE(rig.core->LastDevInfo().outcome, DevInfoOutcome::kAccepted);
    QCOMPARE(rig.Rows("LB_MacroName"), (QStringList{"Fire", "Copy"}));

    rig.ClickRow("LB_MacroName", 1);
    QVERIFY(!rig.Page()->ShowsLibraryMacro());
    QCOMPARE(rig.Events(), (QStringList{"Ctrl", "C", "C", "Ctrl"}));
    QVERIFY(rig.Checked("rb_NoDelay") && rig.Checked("LED_NoDelay"));

    rig.ClickRow("LB_MacroName", 0);
    QCOMPARE(rig.Events(), (QStringList{"RightKey", "30 ms", "RightKey"}));
    QCOMPARE(rig.List("LB_macro")->item(0)->data(kMacroLineRole).toString(),
             QStringLiteral("1 RightKey CODE:00A2"));
    QVERIFY(rig.Checked("rb_RecDelay") && !rig.Checked("rb_NoDelay"));
    QVERIFY(rig.window->Controls().Get<QLineEdit>("Edt_Delay")->isReadOnly());

    // A press below the last row lets go of the selection and the editor's
    // pop-ups stay closed.
    QListWidget* list = rig.List("LB_MacroName");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(10, list->viewport()->height() - 3));
    QVERIFY(list->selectedItems().isEmpty());
  }

  void addToMouseAndDeleteGoThroughTheCore() {
    Rig rig(SimulatedStorage::kFlashFlash);
    const QString first = QString::fromStdString(rig.Page()->Library().MacroText(0));
    rig.ClickRow("LB_PCMacroName", 0);
    rig.Command("Btn_AddMacro");
    QCOMPARE(rig.Rows("LB_MacroName"), (QStringList{"Fire", "Copy", first}));
    // Written to the mouse: the name into entry 2 of the names table.
    QCOMPARE(QString::fromStdString(MacroNameText(
                 rig.mouse.Memory().subspan(kSlotNamesAddress + 32, kMacroNameBytes))),
             first);

    rig.ClickRow("LB_MacroName", 0);
    rig.Command("Btn_DelMacro");
    QCOMPARE(rig.Rows("LB_MacroName"), (QStringList{"Copy", first}));
    QCOMPARE(rig.List("LB_MacroName")->currentRow(), 0);
    QVERIFY(rig.List("LB_macro")->count() == 0);
  }

  void updatePageOnlyForFlashFlash() {
    {
      Rig rig(SimulatedStorage::kI2C, false);
      QVERIFY(rig.window->Controls().Find("Btn_Update_1")->isHidden());
    }
    Rig rig(SimulatedStorage::kFlashFlash, false);
    QWidget* update = rig.window->Controls().Find("Btn_Update_1");
    QVERIFY(!update->isHidden());

    // A file with patch code at 0x8000; the path is shown, the patch loaded.
    QTemporaryDir dir;
    const QString path = dir.path() + "/fw.bin";
    Bytes file(0x8400, 0xFF);
    QVERIFY(WriteFileAtomically(path.toStdString(), file));
    rig.window->RequestPage(PageId::kUpdate);
    QVERIFY(rig.window->Group(5)->isVisible());
    rig.dialogs.open_answers.push_back(path);
    Q_EMIT rig.window->Controls().Get<TextLabel>("Btn_LoadBIN")->clicked();
    QCOMPARE(rig.window->Controls().Get<QLabel>("lbl_LoadBIN")->text(), path);
    QVERIFY(rig.window->Update()->Patch().Loaded());
    QCOMPARE(rig.dialogs.filters.last(), kLoadFileFilter);

    // Opening the page again forgets the path and the loaded flag.
    rig.window->RequestPage(PageId::kMacro);
    rig.window->RequestPage(PageId::kUpdate);
    QVERIFY(rig.window->Controls().Get<QLabel>("lbl_LoadBIN")->text().isEmpty());
    QVERIFY(!rig.window->Update()->Patch().Loaded());
  }
};

KORVEX48_GUI_TEST(MacroPageTest)

}  // namespace korvex48::gui

#include "macro_page_test.moc"
