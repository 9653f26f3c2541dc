// The Macro and Update pages over a simulated mouse: the PC library list, the
// device macro list in both storage layouts, the event list of a selected
// macro, the commands that go to the core, and the Update page of a "Flash" +
// "Flash" mouse.
#include "gui/pages/macro_page.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/app/app_core.h"
#include "core/buttons/key_code_table.h"
#include "core/common/clock.h"
#include "core/common/file_io.h"
#include "core/device/command_set.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/editing/page_editor.h"
#include "core/macros/macro_lines.h"
#include "core/macros/slot_layout.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui/page_group.h"
#include "gui/pages/macro_commands.h"
#include "gui/pages/macro_event_list.h"
#include "gui/pages/macro_library_list.h"
#include "gui/pages/update_page.h"
#include "gui/scripted_dialogs.h"
#include "gui/skin_widgets.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;
using test::kFlashFlashImage;

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

// The editor over a mouse of `storage` holding "Fire" and "Copy" (unless
// `macros` is false), opened and read, with the Macro page open.
struct Rig : EditorRig {
  explicit Rig(SimulatedStorage storage, bool macros = true)
      : EditorRig(
            EditorRigOptions()
                .WithStorage(storage)
                .WithDefaultImage(storage == SimulatedStorage::kFlashFlash ? kFlashFlashImage
                                                                           : QString())
                .WithMouse(macros ? StoreTwoMacros : std::function<void(SimulatedMouse&)>())) {
    Click(QStringLiteral("Btn_Macro_1"));
  }

  MacroPage* Page() { return Window().Macros(); }
  QListWidget* List(const char* name) const { return Get<QListWidget>(QLatin1String(name)); }
  QStringList Rows(const char* name) const { return EditorRig::Rows(QLatin1String(name)); }
  // What LB_macro draws: the text of every event item.
  QStringList Events() const {
    QStringList texts;
    QListWidget* list = List("LB_macro");
    for (int i = 0; i < list->count(); ++i)
      texts.append(MacroEventText(list->item(i)->data(kMacroLineRole).toString()));
    return texts;
  }
  bool Checked(const char* name) const { return EditorRig::Checked(QLatin1String(name)); }
  void ClickRow(const char* list, int row, Qt::MouseButton button = Qt::LeftButton) {
    EditorRig::ClickRow(QLatin1String(list), row, button);
  }
  // A command of the pop-up that a right click on row `row` of `list` opens.
  void Command(const char* list, int row, const char* command) {
    ClickRow(list, row, Qt::RightButton);
    Click(QLatin1String(command));
  }
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
    QVERIFY(QFileInfo(rig.LibraryPath()).size() == 27200);
    QVERIFY(rig.Window().Controls().Find(QStringLiteral("Btn_NewMacro"))->isEnabled());

    // A row opens its macro: one event item per decoded line, the bytes in
    // the hex dump.
    rig.ClickRow("LB_PCMacroName", 2);
    const std::size_t length = rig.Page()->Library().EventLength(2);
    const ByteView bytes = ByteView(rig.Page()->Library().Slot(2).events).first(length);
    const MacroLines lines = DecodeMacroLines(bytes);
    QVERIFY(rig.Page()->ShowsLibraryMacro());
    QCOMPARE(rig.List("LB_macro")->count(), static_cast<int>(lines.size()) - 1);
    QCOMPARE(
        rig.Window().Controls().Get<QPlainTextEdit>(QStringLiteral("mmo_wrscript"))->toPlainText(),
        QString::fromStdString(BytesToHex(bytes)));
  }

  // A library that could not be read is never written: reported once at the
  // start, the commands that would write it are disabled and a line over the
  // list says why; the file stays as it was.
  void unreadableLibraryIsNeverWritten_data() {
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("says");
    // Exists and cannot be read as a file.
    QTest::newRow("a folder") << QStringLiteral("folder") << QStringLiteral("is a directory");
    QTest::newRow("too large") << QStringLiteral("large") << QStringLiteral("too large");
  }
  void unreadableLibraryIsNeverWritten() {
    QFETCH(QString, found);
    QFETCH(QString, says);
    EditorRig rig(EditorRigOptions()
                      .WithLibrary([found](const QString& path) {
                        if (found == QLatin1String("folder")) {
                          QDir().mkpath(path);
                          return;
                        }
                        std::ofstream(path.toStdString()).close();
                        std::filesystem::resize_file(path.toStdString(), (64u << 20) + 1);
                      })
                      .Unconnected());
    QCOMPARE(rig.start_messages.size(), 1);
    QVERIFY2(rig.start_messages.first().startsWith(rig.LibraryPath()),
             qPrintable(rig.start_messages.first()));
    QCOMPARE(rig.Rows(QStringLiteral("LB_PCMacroName")), QStringList());
    auto* notice = rig.Get<QLabel>(QStringLiteral("lbl_LibraryUnusable"));
    QVERIFY(notice && !notice->isHidden());
    QVERIFY2(notice->text().contains(says), qPrintable(notice->text()));
    for (const char* command : {"Btn_NewMacro", "Btn_NewName", "Btn_DelPCMacro", "Btn_ImportOne",
                                "Btn_Import", "Btn_ExportOne", "Btn_Export"})
      QVERIFY2(!rig.W(QLatin1String(command))->isEnabled(), command);
    // Nor do the commands act when reached another way.
    MacroLibraryList& library = rig.Window().Macros()->LibraryList();
    library.NewMacro();
    QVERIFY(!library.NameDialog());
    rig.dialogs.open_answers = {rig.dir.filePath(QStringLiteral("other.bin"))};
    library.ImportAll();
    QCOMPARE(rig.dialogs.filters, QStringList());
    QVERIFY(!library.Save());
    QCOMPARE(rig.dialogs.messages, QStringList());
    // The user's file is never replaced by the default library.
    QCOMPARE(QFileInfo(rig.LibraryPath()).isDir(), found == QLatin1String("folder"));
    if (found == QLatin1String("large"))
      QCOMPARE(QFileInfo(rig.LibraryPath()).size(), (qint64{64} << 20) + 1);
    QCOMPARE(QDir(rig.dir.path()).entryList({QStringLiteral("Macro.bin*")}),
             QStringList{QStringLiteral("Macro.bin")});
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
    QCOMPARE(rig.Core().LastDevInfo().outcome, DevInfoOutcome::kAccepted);
    QCOMPARE(rig.Rows("LB_MacroName"),
             (QStringList{QStringLiteral("Fire"), QStringLiteral("Copy")}));

    rig.ClickRow("LB_MacroName", 1);
    QVERIFY(!rig.Page()->ShowsLibraryMacro());
    QCOMPARE(rig.Events(), (QStringList{QStringLiteral("Ctrl"), QStringLiteral("C"),
                                        QStringLiteral("C"), QStringLiteral("Ctrl")}));
    QVERIFY(rig.Checked("rb_NoDelay") && rig.Checked("LED_NoDelay"));

    rig.ClickRow("LB_MacroName", 0);
    QCOMPARE(rig.Events(), (QStringList{QStringLiteral("RightKey"), QStringLiteral("30 ms"),
                                        QStringLiteral("RightKey")}));
    QCOMPARE(rig.List("LB_macro")->item(0)->data(kMacroLineRole).toString(),
             QStringLiteral("1 RightKey CODE:00A2"));
    QVERIFY(rig.Checked("rb_RecDelay") && !rig.Checked("rb_NoDelay"));
    QVERIFY(rig.Window().Controls().Get<QLineEdit>(QStringLiteral("Edt_Delay"))->isReadOnly());

    // A press below the last row lets go of the selection and the editor's
    // pop-ups stay closed.
    QListWidget* list = rig.List("LB_MacroName");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(10, list->viewport()->height() - 3));
    QVERIFY(list->selectedItems().isEmpty());
  }

  // The focus reaching a name list makes its first row current but selects
  // nothing: no macro opens then (the editor would show a macro no list
  // selects). The arrow keys select and open rows.
  void focusAloneOpensNoMacro_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("library") << QStringLiteral("LB_PCMacroName");
    QTest::newRow("mouse") << QStringLiteral("LB_MacroName");
  }
  void focusAloneOpensNoMacro() {
    QFETCH(QString, name);
    Rig rig(SimulatedStorage::kFlashFlash);
    rig.Window().show();
    rig.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.Window()));
    QListWidget* list = rig.Get<QListWidget>(name);
    list->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(list->hasFocus());
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(rig.List("LB_macro")->count(), 0);

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->currentRow(), 1);
    QVERIFY(rig.List("LB_macro")->count() > 0);
  }

  void addToMouseAndDeleteGoThroughTheCore() {
    Rig rig(SimulatedStorage::kFlashFlash);
    const QString first = QString::fromStdString(rig.Page()->Library().MacroText(0));
    rig.Command("LB_PCMacroName", 0, "Btn_AddMacro");
    QCOMPARE(rig.Rows("LB_MacroName"),
             (QStringList{QStringLiteral("Fire"), QStringLiteral("Copy"), first}));
    // Written to the mouse: the name into entry 2 of the names table.
    QCOMPARE(QString::fromStdString(MacroNameText(
                 rig.mouse.Memory().subspan(kSlotNamesAddress + 32, kMacroNameBytes))),
             first);

    rig.Command("LB_MacroName", 0, "Btn_DelMacro");
    QCOMPARE(rig.Rows("LB_MacroName"), (QStringList{QStringLiteral("Copy"), first}));
    QCOMPARE(rig.List("LB_MacroName")->currentRow(), 0);
    QVERIFY(rig.List("LB_macro")->count() == 0);
  }

  // An Add to Mouse that the mouse stopped taking leaves in both macro lists
  // what the mouse holds, so the macro that did not land cannot be given to
  // a button; the user is told.
  void aFailedAddToMouseListsWhatTheMouseHolds() {
    for (SimulatedStorage storage : {SimulatedStorage::kI2C, SimulatedStorage::kFlashFlash}) {
      Rig rig(storage);
      const QStringList before{QStringLiteral("Fire"), QStringLiteral("Copy")};
      QCOMPARE(rig.Rows("LB_MacroName"), before);
      rig.dialogs.messages.clear();
      rig.Mouse().Faults().refuse_report_after = 20;  // inside the macro storage
      rig.Command("LB_PCMacroName", 0, "Btn_AddMacro");
      QCOMPARE(rig.Rows("LB_MacroName"), before);
      // The button menu's macro list (LB_Name) is filled from these when opened.
      QCOMPARE(rig.Core().Macros().Names(), (std::vector<std::string>{"Fire", "Copy"}));
      QCOMPARE(rig.dialogs.messages.size(), 1);
      QVERIFY2(rig.dialogs.messages[0].contains(QStringLiteral("was not added")),
               qPrintable(rig.dialogs.messages[0]));
    }
  }

  void deletingAMacroShowsTheFallbackLabel() {
    Rig rig(SimulatedStorage::kI2C);
    QVERIFY(rig.Editor().AssignDeviceMacro(1, 5, 0).ok());  // button 5: "Fire"
    rig.Command("LB_MacroName", 0, "Btn_DelMacro");
    QCOMPARE(rig.Rows("LB_MacroName"), QStringList{QStringLiteral("Copy")});
    rig.Click(QStringLiteral("Btn_Main_4"));  // Main Control, in the Macro page's bar
    const ButtonTexts names = ProfileKeyNames(rig.Core().Codes(), 1, rig.Core().NameSources());
    QVERIFY(names[4] != "Fire");
    QCOMPARE(rig.Text(QStringLiteral("Key5")), QString::fromStdString(names[4]));
  }

  // Add to Mouse that the mouse cannot take says why and sends nothing.
  void addToMouseRefusalsSayWhy_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<QString>("why");
    // U+00FF is stored as FF 00, U+FF21 as 21 FF: either byte ends the
    // mouse's packed macro list.
    QTest::newRow("first byte 0xFF")
        << QStringLiteral("\u00FFes") << true << QStringLiteral("end of its macro list");
    QTest::newRow("second byte 0xFF")
        << QStringLiteral("\uFF21b") << true << QStringLiteral("end of its macro list");
    QTest::newRow("no end byte") << QStringLiteral("Loop") << false
                                 << QStringLiteral("do not end within their 256 bytes");
  }
  void addToMouseRefusalsSayWhy() {
    QFETCH(QString, name);
    QFETCH(bool, ends);
    QFETCH(QString, why);
    Rig rig(SimulatedStorage::kI2C);
    LibrarySlot& slot = rig.Page()->Library().MutableSlot(0);
    slot.name = MacroNameFromText(name.toStdString());
    if (!ends) slot.events.fill(0x22);
    rig.Page()->ShowLibrary();
    rig.ClearSent();
    rig.Command("LB_PCMacroName", 0, "Btn_AddMacro");
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY2(rig.dialogs.messages[0].startsWith(QLatin1Char('"') + name + QLatin1Char('"')) &&
                 rig.dialogs.messages[0].contains(why),
             qPrintable(rig.dialogs.messages[0]));
    QCOMPARE(rig.Rows("LB_MacroName"),
             (QStringList{QStringLiteral("Fire"), QStringLiteral("Copy")}));
    QVERIFY(rig.Sent().isEmpty());
  }

  // A mouse that holds as many macros as it can says so instead of nothing.
  void addToAFullMouseSaysWhy() {
    EditorRig rig(EditorRigOptions().WithMouse([](SimulatedMouse& mouse) {
      std::fill_n(mouse.Memory().begin() + 0x0200, 512, 0);
      for (std::size_t i = 0; i < 15; ++i)  // a name and an end byte each
        Put(mouse, 0x0200 + i * 17, MacroNameFromText("M" + std::to_string(i + 1)));
    }));
    rig.Click(QStringLiteral("Btn_Macro_1"));
    QCOMPARE(rig.Rows(QStringLiteral("LB_MacroName")).size(), 15);
    rig.ClearSent();
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0, Qt::RightButton);
    rig.Click(QStringLiteral("Btn_AddMacro"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY2(rig.dialogs.messages[0].contains(QStringLiteral("holds 15 macros")),
             qPrintable(rig.dialogs.messages[0]));
    QCOMPARE(rig.Rows(QStringLiteral("LB_MacroName")).size(), 15);
    QVERIFY(rig.Sent().isEmpty());
  }

  // A refused firmware file leaves no path behind and no patch to program;
  // Update without one says so.
  void refusedFirmwareFileIsNotKept() {
    Rig rig(SimulatedStorage::kFlashFlash, false);
    QTemporaryDir dir;
    const QString good = dir.path() + QStringLiteral("/fw.bin");
    const QString short_file = dir.path() + QStringLiteral("/short.bin");
    QVERIFY(WriteFileAtomically(good.toStdString(), Bytes(0x8400, 0x5A)));
    QVERIFY(WriteFileAtomically(short_file.toStdString(), Bytes(0x8100, 0x5A)));
    rig.Window().RequestPage(PageId::kUpdate);
    rig.dialogs.open_answers.push_back(good);
    rig.Click(QStringLiteral("Btn_LoadBIN"));
    QVERIFY(rig.Window().Update()->Patch().Loaded());
    rig.dialogs.open_answers.push_back(short_file);
    rig.Click(QStringLiteral("Btn_LoadBIN"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].startsWith(short_file + QStringLiteral(": no whole patch")));
    QVERIFY(rig.Text(QStringLiteral("lbl_LoadBIN")).isEmpty());
    QVERIFY(!rig.Window().Update()->Patch().Loaded());

    rig.ClearSent();
    rig.Click(QStringLiteral("Btn_Program"));
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY2(rig.dialogs.messages[1].contains(QStringLiteral("No firmware file is loaded")),
             qPrintable(rig.dialogs.messages[1]));
    QVERIFY(rig.Sent().isEmpty());
  }

  void updatePageOnlyForFlashFlash() {
    {
      Rig rig(SimulatedStorage::kI2C, false);
      QVERIFY(rig.Window().Controls().Find(QStringLiteral("Btn_Update_1"))->isHidden());
    }
    Rig rig(SimulatedStorage::kFlashFlash, false);
    QWidget* update = rig.Window().Controls().Find(QStringLiteral("Btn_Update_1"));
    QVERIFY(!update->isHidden());

    // A file with patch code at 0x8000; the path is shown, the patch loaded.
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/fw.bin");
    Bytes file(0x8400, 0xFF);
    QVERIFY(WriteFileAtomically(path.toStdString(), file));
    rig.Window().RequestPage(PageId::kUpdate);
    QVERIFY(rig.Window().Group(5)->isVisible());
    rig.dialogs.open_answers.push_back(path);
    rig.Click(QStringLiteral("Btn_LoadBIN"));
    QCOMPARE(rig.Window().Controls().Get<QLabel>(QStringLiteral("lbl_LoadBIN"))->text(), path);
    QVERIFY(rig.Window().Update()->Patch().Loaded());
    QCOMPARE(rig.dialogs.filters.last(), kLoadFileFilter);

    // Opening the page again forgets the path and the loaded flag.
    rig.Window().RequestPage(PageId::kMacro);
    rig.Window().RequestPage(PageId::kUpdate);
    QVERIFY(rig.Window().Controls().Get<QLabel>(QStringLiteral("lbl_LoadBIN"))->text().isEmpty());
    QVERIFY(!rig.Window().Update()->Patch().Loaded());
  }
};

KORVEX48_GUI_TEST(MacroPageTest)

}  // namespace korvex48::gui

#include "macro_page_test.moc"
