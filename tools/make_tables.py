#!/usr/bin/env python3
"""Generates the tables carried as resources: resources/tables/lang1..lang3,
ORG and org1..org3.

The language texts are the program's contract and must not be edited here
without the matching change in tests/core/ui/. The layout numbers belong to the
artwork: change them in LAYOUT_* below and run the script again.

Usage: tools/make_tables.py [output folder]   (default: resources/tables)
"""

import os
import sys

# --------------------------------------------------------------------------
# Language tables: key, text (English; the three tables are equal but for the
# section name).
LANGUAGE_TEXTS = [
    ("Title", "ZENTO Gaming Mouse"),
    ("Str002", "Reset"),
    ("Str003", "Exit"),
    ("Str004", "Main Control"),
    ("Str005", "Alternate Key"),
    ("Str006", "Reset Control"),
    ("Str007", "Advanced"),
    ("Str008", "Breathing Light"),
    ("Str009", "Save Profile"),
    ("Str010", "Load Profile"),
    ("Str011", "Language1"),
    ("Str012", "Language2"),
    ("Str013", "Language3"),
    ("Str014", "Macro"),
    ("Str015", "Update"),
    ("Str020", "Please select the keyboard mode switch button to take effect after the "
               "key definition interface"),
    ("Str021", "Select the reset button in the key definition interface to take effect"),
    ("Str022", "Not find the specified device"),
    ("Str100", "No Device Found"),
    ("Str101", "Please check your device is attached to USB port"),
    ("Str102", "Korvex48Data.bin file type error"),
    ("Str103", "Macro bin length out of range"),
    ("Str104", "EEPROM space shortage"),
    ("Str105", "Please select a AIM Key in"),
    ("Str106", "This macro already exists"),
    ("Str107", "The mouse manufacturer or product id error"),
    ("Str200", "*"),
    ("Str201", "Standard Mouse Key"),
    ("Str202", "Special Key"),
    ("Str203", "Media Fn"),
    ("Str204", "WWW Fn"),
    ("Str205", "User-defined"),
    ("Str206", "Macro"),
    ("Str207", "PC Fn"),
    ("Str210", "Left Key"),
    ("Str211", "Right Key"),
    ("Str212", "Middle Key"),
    ("Str213", "Backward"),
    ("Str214", "Forward"),
    ("Str230", "Fire Key"),
    ("Str231", "Fire Key1"),
    ("Str232", "Fire Key2"),
    ("Str233", "Fire Key3"),
    ("Str234", "AIM Key"),
    ("Str241", "LED Switch"),
    ("Str242", "KB Switch Key"),
    ("Str243", "CPI"),
    ("Str244", "Report Rate"),
    ("Str245", "KB Reset Key"),
    ("Str246", "LED Mode"),
    ("Str247", "CPI +"),
    ("Str248", "CPI -"),
    ("Str250", "Play/Pause"),
    ("Str251", "Stop"),
    ("Str252", "Previous Track"),
    ("Str253", "Next Track"),
    ("Str254", "Volume +"),
    ("Str255", "Volume -"),
    ("Str256", "Mute"),
    ("Str260", "WWW Home"),
    ("Str261", "WWW Search"),
    ("Str262", "WWW Back"),
    ("Str263", "WWW Forward"),
    ("Str264", "WWW Stop"),
    ("Str265", "WWW Refresh"),
    ("Str266", "WWW Favorites"),
    ("Str270", "My Computer"),
    ("Str271", "Calculator"),
    ("Str272", "E-Mail"),
    ("Str273", "Desktop"),
    ("Str300", "200"),
    ("Str301", "400"),
    ("Str302", "600"),
    ("Str303", "800"),
    ("Str304", "1000"),
    ("Str305", "1200"),
    ("Str306", "1600"),
    ("Str307", "2000"),
    ("Str308", "2400"),
    ("Str309", "3200"),
    ("Str310", "4800"),
    ("Str311", "6400"),
    ("Str400", "Record"),
    ("Str401", "Stop"),
    ("Str402", "Rename"),
    ("Str404", "Export One"),
    ("Str405", "Export All"),
    ("Str406", "Import One"),
    ("Str407", "Import All"),
    ("Str408", "Delete"),
    ("Str409", "Insert"),
    ("Str410", "Insert Delay Front"),
    ("Str411", "Insert Delay Back"),
    ("Str412", "Insert Key Front"),
    ("Str413", "Insert Key Back"),
    ("Str414", "Record Delay"),
    ("Str415", "Default Delay"),
    ("Str416", "No Delay"),
    ("Str417", "Delay Time"),
    ("Str418", "ms"),
    ("Str420", "OK"),
    ("Str421", "OK"),
    ("Str422", "Cancel"),
    ("Str430", "OK for clear macro?"),
    ("Str432", "New Macro"),
    ("Str433", "Delect Macro"),
    ("Str434", "Add to Mouse"),
    ("Str440", "Load File"),
    ("Str441", "Update"),
    ("Str442", "Update File Path"),
    ("Str450", "Insert X axis Front"),
    ("Str451", "Insert X axis Back"),
    ("Str452", "Insert Y axis Front"),
    ("Str453", "Insert Y axis Back"),
    ("Str454", "X axis value"),
    ("Str455", "Y axis value"),
    ("Str456", "Insert Start Repeat"),
    ("Str457", "Insert Stop Repeat"),
    ("Str458", "Repeat Number"),
    ("Str500", "Assembly Key"),
    ("Str501", "Confirm"),
    ("Str502", "Clear"),
    ("Str510", "Macro Name"),
    ("Str511", "OK"),
    ("Str512", "Cancel"),
]

# --------------------------------------------------------------------------
# Settings table ORG.
SETTINGS = [
    ("LEDType", "RGB"),
    ("Web", "https://korvex48.org/guide"),
    ("Web_X", 666),
    ("Web_Y", 536),
    ("Rev_Manu_ID", 0),
    ("Rev_Pro_ID", 0),
]

# --------------------------------------------------------------------------
# Layout tables: the complete key list in table order.
LAYOUT_KEYS = (
    "Size_A Color_A_R Color_A_G Color_A_B Btn_A3_Enable Btn_A3_X Btn_A3_Y Btn_A4_Enable "
    "Btn_A4_X Btn_A4_Y Size_B Color_B_R Color_B_G Color_B_B Btn_Space_F Btn_Space_B "
    "Btn_B1_Enable Btn_B1_X Btn_B1_Y Btn_B2_Enable Btn_B2_X Btn_B2_Y Btn_B3_Enable Btn_B3_X "
    "Btn_B3_Y Btn_B4_Enable Btn_B4_X Btn_B4_Y Btn_B5_Enable Btn_B5_X Btn_B5_Y Btn_B11_Enable "
    "Btn_B11_X Btn_B11_Y Btn_B12_Enable Btn_B12_X Btn_B12_Y Btn_B6_Enable Btn_B6_X Btn_B6_Y "
    "Btn_B7_Enable Btn_B7_X Btn_B7_Y Btn_B8_Enable Btn_B8_X Btn_B8_Y Btn_B9_Enable Btn_B9_X "
    "Btn_B9_Y Btn_B10_Enable Btn_B10_X Btn_B10_Y Size_C Color_C_R Color_C_G Color_C_B P1_X "
    "P1_Y Key1_Enable Key1_X Key1_Y Key2_Enable Key2_X Key2_Y Key3_Enable Key3_X Key3_Y "
    "Key4_Enable Key4_X Key4_Y Key5_Enable Key5_X Key5_Y Key6_Enable Key6_X Key6_Y "
    "Key7_Enable Key7_X Key7_Y Key8_Enable Key8_X Key8_Y Key9_Enable Key9_X Key9_Y "
    "Key10_Enable Key10_X Key10_Y Key11_Enable Key11_X Key11_Y Key12_Enable Key12_X Key12_Y "
    "Disable_X Disable_Y Disable_H Disable_W Size_D Color_D_Selected_R Color_D_Selected_G "
    "Color_D_Selected_B Color_D_notSelected_R Color_D_notSelected_G Color_D_notSelected_B "
    "Color_D_Back_R Color_D_Back_G Color_D_Back_B P2_X P2_Y FK1Cnt_X FK1Cnt_Y FK1Delay_X "
    "FK1Delay_Y FK1Continue_X FK1Continue_Y FK2Cnt_X FK2Cnt_Y FK2Delay_X FK2Delay_Y "
    "FK2Continue_X FK2Continue_Y FK3Cnt_X FK3Cnt_Y FK3Delay_X FK3Delay_Y FK3Continue_X "
    "FK3Continue_Y Rep1_X Rep1_Y Rep2_X Rep2_Y Rep3_X Rep3_Y Rep4_X Rep4_Y Spd_X Spd_Y "
    "DbSpd_X DbSpd_Y ScrSpd_X ScrSpd_Y DPI_Orientation DPI1_Color_X DPI1_Color_Y "
    "DPI1_Check_X DPI1_Check_Y DPI1_X DPI1_Y DPI1_Value_X DPI1_Value_Y DPI1_Steps_X "
    "DPI1_Steps_Y DPI2_Color_X DPI2_Color_Y DPI2_Check_X DPI2_Check_Y DPI2_X DPI2_Y "
    "DPI2_Value_X DPI2_Value_Y DPI2_Steps_X DPI2_Steps_Y DPI3_Color_X DPI3_Color_Y "
    "DPI3_Check_X DPI3_Check_Y DPI3_X DPI3_Y DPI3_Value_X DPI3_Value_Y DPI3_Steps_X "
    "DPI3_Steps_Y DPI4_Color_X DPI4_Color_Y DPI4_Check_X DPI4_Check_Y DPI4_X DPI4_Y "
    "DPI4_Value_X DPI4_Value_Y DPI4_Steps_X DPI4_Steps_Y DPI5_Color_X DPI5_Color_Y "
    "DPI5_Check_X DPI5_Check_Y DPI5_X DPI5_Y DPI5_Value_X DPI5_Value_Y DPI5_Steps_X "
    "DPI5_Steps_Y DPI6_Color_X DPI6_Color_Y DPI6_Check_X DPI6_Check_Y DPI6_X DPI6_Y "
    "DPI6_Value_X DPI6_Value_Y DPI6_Steps_X DPI6_Steps_Y DPI7_Color_X DPI7_Color_Y "
    "DPI7_Check_X DPI7_Check_Y DPI7_X DPI7_Y DPI7_Value_X DPI7_Value_Y DPI7_Steps_X "
    "DPI7_Steps_Y DPI8_Color_X DPI8_Color_Y DPI8_Check_X DPI8_Check_Y DPI8_X DPI8_Y "
    "DPI8_Value_X DPI8_Value_Y DPI8_Steps_X DPI8_Steps_Y AIMDPI_X AIMDPI_Y AIMDPI_Value_X "
    "AIMDPI_Value_Y AIMDPI_Steps_X AIMDPI_Steps_Y Size_E Color_E_R Color_E_G Color_E_B P3_X "
    "P3_Y StepTime_X StepTime_Y LEDOff_X LEDOff_Y LEDMode1_X LEDMode1_Y LEDMode2_X LEDMode2_Y "
    "LEDMode3_X LEDMode3_Y LEDMode4_X LEDMode4_Y LEDMode5_X LEDMode5_Y LEDColor1_X "
    "LEDColor1_Y LEDColor2_X LEDColor2_Y LEDColor3_X LEDColor3_Y LEDColor4_X LEDColor4_Y "
    "LEDColor5_X LEDColor5_Y LEDColor6_X LEDColor6_Y LEDColor7_X LEDColor7_Y Size_F "
    "Color_F_R Color_F_G Color_F_B Color_F_Font_R Color_F_Font_G Color_F_Font_B "
    "Color_F_Back_R Color_F_Back_G Color_F_Back_B P4_X P4_Y PCMacroName_X PCMacroName_Y "
    "MseMacroName_X MseMacroName_Y MacroNameHeight MacroContent_X MacroContent_Y BtnStart_X "
    "BtnStart_Y DelayTime_X DelayTime_Y RecDelay_X RecDelay_Y RecDelay_H DelayEdit_X "
    "DelayEdit_Y Insert_X Insert_Y InsertList_X InsertList_Y InsertRecDelay_X "
    "InsertRecDelay_Y InsertRecDelay_H InsertDelayEdit_X InsertDelayEdit_Y InsertAxisEdit_X "
    "InsertAxisEdit_Y InsertBtnStart_X InsertBtnStart_Y InsertBtnOK_X InsertBtnOK_Y "
    "InsertBtnCancel_X InsertBtnCancel_Y Size_I Color_I_R Color_I_G Color_I_B P5_X P5_Y "
    "lbl_BINPath_X lbl_BINPath_Y lbl_LoadBin_X lbl_LoadBin_Y Btn_LoadBin_X Btn_LoadBin_Y "
    "Btn_Program_X Btn_Program_Y"
).split()

# Font sizes (points) and colours (R, G, B).
LAYOUT_FONTS = {"A": 9, "B": 10, "C": 10, "D": 9, "E": 9, "F": 9, "I": 10}
LAYOUT_COLORS = {
    "Color_A": (226, 236, 246),
    "Color_B": (226, 236, 246),
    "Color_C": (226, 236, 246),
    "Color_D_Selected": (0, 229, 255),
    "Color_D_notSelected": (128, 146, 164),
    "Color_D_Back": (9, 12, 16),
    "Color_E": (200, 212, 224),
    "Color_F": (226, 236, 246),
    "Color_F_Font": (220, 230, 240),
    "Color_F_Back": (9, 12, 16),
    "Color_I": (226, 236, 246),
}
LAYOUT_RESET = (700, 8)
LAYOUT_EXIT = (750, 8)
LAYOUT_NAV_SPACE = (6, 6)
LAYOUT_NAV = {
    1: (20, 497), 2: (148, 497), 3: (276, 497), 4: (404, 497), 5: (532, 497),
    11: (660, 497),
    12: (20, 537), 6: (148, 537), 7: (276, 537),
    8: (404, 537), 10: (404, 537), 9: (532, 537),
}
LAYOUT_PANEL = (20, 40)
LAYOUT_PANEL_DROP = 50
LAYOUT_KEY_COLUMNS = (44, 616)
LAYOUT_KEY_TOP = 100
LAYOUT_KEY_ROW = 56
# rows of the left and right column by layout entry j (RGB placement map:
# buttons 1, 5, 4, 8, 9, 10 on the left, 3, 2, 6, 7, 11, 12 on the right)
LAYOUT_KEY_ROWS = {1: (0, 0), 2: (0, 1), 12: (0, 2), 8: (0, 3), 3: (0, 4),
                   4: (0, 5), 11: (1, 0), 10: (1, 1), 6: (1, 2), 7: (1, 3),
                   5: (1, 4), 9: (1, 5)}
LAYOUT_DISABLE = (20, 40, 441, 760)
LAYOUT_DPI_TOP = 84
LAYOUT_DPI_ROW = 30
LAYOUT_DPI_COLUMNS = {"Color": 40, "Check": 72, "": 96, "Value": 382, "Steps": 146}
LAYOUT_DPI_ORIENTATION = 1
LAYOUT_FIRE = {"Cnt": 520, "Delay": 580, "Continue": 650}
LAYOUT_FIRE_TOP = 158
LAYOUT_FIRE_ROW = 30
LAYOUT_REP = (468, 78, 72)
LAYOUT_SPEEDS = {"Spd": (468, 288), "DbSpd": (468, 336), "ScrSpd": (468, 384)}
LAYOUT_STEP_TIME = (44, 176)
LAYOUT_LED_MODES = (44, 90, 120)
LAYOUT_LED_COLORS = (44, 246, 56)
LAYOUT_MACRO = {
    "PCMacroName": (36, 80),
    "MseMacroName": (36, 310),
    "MacroContent": (282, 80),
    "BtnStart": (580, 80),
    "DelayTime": (580, 124),
    "DelayEdit": (660, 230),
    "Insert": (580, 124),
    "InsertList": (588, 136),
    "InsertDelayEdit": (670, 252),
    "InsertAxisEdit": (670, 282),
    "InsertBtnStart": (588, 316),
    "InsertBtnOK": (592, 354),
    "InsertBtnCancel": (668, 354),
}
LAYOUT_MACRO_ROWS = {"RecDelay": (590, 144, 26), "InsertRecDelay": (590, 170, 24)}
LAYOUT_MACRO_NAME_HEIGHT = 20
LAYOUT_UPDATE = {
    "lbl_BINPath": (60, 100),
    "lbl_LoadBin": (60, 128),
    "Btn_LoadBin": (580, 124),
    "Btn_Program": (580, 164),
}


def layout_values(lang):
    """Every key of layout table `lang` (1..3) with its value."""
    v = {}
    drop = 0 if lang == 1 else LAYOUT_PANEL_DROP

    def point(prefix, xy):
        v[prefix + "_X"], v[prefix + "_Y"] = xy

    def toggle(prefix, enable, xy):
        v[prefix + "_Enable"] = enable
        point(prefix, xy)

    for group, size in LAYOUT_FONTS.items():
        v["Size_" + group] = size
    for prefix, (r, g, b) in LAYOUT_COLORS.items():
        v[prefix + "_R"], v[prefix + "_G"], v[prefix + "_B"] = r, g, b

    toggle("Btn_A3", 1, LAYOUT_RESET)
    toggle("Btn_A4", 1, LAYOUT_EXIT)
    v["Btn_Space_F"], v["Btn_Space_B"] = LAYOUT_NAV_SPACE
    for k, xy in LAYOUT_NAV.items():
        enable = 1
        if k == 9:
            enable = 0
        elif k == 8:
            enable = 1 if lang == 1 else 0
        elif k == 10:
            enable = 0 if lang == 1 else 1
        toggle("Btn_B%d" % k, enable, xy)

    px, py = LAYOUT_PANEL
    for page in range(1, 6):
        point("P%d" % page, (px, py + (drop if page == 1 else 0)))
    for j in range(1, 13):
        column, row = LAYOUT_KEY_ROWS[j]
        toggle("Key%d" % j, 1,
               (LAYOUT_KEY_COLUMNS[column], LAYOUT_KEY_TOP + drop + row * LAYOUT_KEY_ROW))
    (v["Disable_X"], v["Disable_Y"], v["Disable_H"], v["Disable_W"]) = LAYOUT_DISABLE

    for f in range(1, 4):
        y = LAYOUT_FIRE_TOP + (f - 1) * LAYOUT_FIRE_ROW
        for part, x in LAYOUT_FIRE.items():
            point("FK%d%s" % (f, part), (x, y + (4 if part == "Continue" else 0)))
    rx, ry, rstep = LAYOUT_REP
    for r in range(1, 5):
        point("Rep%d" % r, (rx + (r - 1) * rstep, ry))
    for prefix, xy in LAYOUT_SPEEDS.items():
        point(prefix, xy)
    v["DPI_Orientation"] = LAYOUT_DPI_ORIENTATION
    for d in range(1, 10):  # row 9 is the AIM DPI
        y = LAYOUT_DPI_TOP + (d - 1) * LAYOUT_DPI_ROW
        for part, x in LAYOUT_DPI_COLUMNS.items():
            if d == 9:
                if part in ("Color", "Check"):
                    continue
                prefix = "AIMDPI"
            else:
                prefix = "DPI%d" % d
            point(prefix + ("_" + part if part else ""), (x, y))

    point("StepTime", LAYOUT_STEP_TIME)
    mx, my, mstep = LAYOUT_LED_MODES
    point("LEDOff", (mx, my))
    for mode in range(1, 6):
        point("LEDMode%d" % mode, (mx + mode * mstep, my))
    cx, cy, cstep = LAYOUT_LED_COLORS
    for c in range(1, 8):
        point("LEDColor%d" % c, (cx + (c - 1) * cstep, cy))

    for prefix, xy in LAYOUT_MACRO.items():
        point(prefix, xy)
    for prefix, (x, y, h) in LAYOUT_MACRO_ROWS.items():
        v[prefix + "_X"], v[prefix + "_Y"], v[prefix + "_H"] = x, y, h
    v["MacroNameHeight"] = LAYOUT_MACRO_NAME_HEIGHT
    for prefix, xy in LAYOUT_UPDATE.items():
        point(prefix, xy)

    missing = [k for k in LAYOUT_KEYS if k not in v]
    extra = [k for k in v if k not in LAYOUT_KEYS]
    if missing or extra:
        raise SystemExit("layout keys out of step: missing %s, extra %s" % (missing, extra))
    return v


# --------------------------------------------------------------------------
def quote(entry):
    return '"' + entry.replace('"', '""') + '"'


def language_bytes(lang):
    lines = ["[lang%d]" % lang] + [quote("%s=%s" % kv) for kv in LANGUAGE_TEXTS]
    return b"\xff\xfe" + "\r\n".join(lines + [""]).encode("utf-16-le")


def settings_bytes():
    lines = ["[org]"] + ["%s=%s" % kv for kv in SETTINGS]
    return "\r\n".join(lines + [""]).encode("ascii")


def layout_bytes(lang):
    values = layout_values(lang)
    lines = ["[org%d]" % lang] + ["%s=%d" % (k, values[k]) for k in LAYOUT_KEYS]
    return "\r\n".join(lines + [""]).encode("ascii")


def main():
    if len(LAYOUT_KEYS) != 322 or len(set(LAYOUT_KEYS)) != 322:
        raise SystemExit("the layout key list must hold 322 distinct keys")
    if len({k.lower() for k, _ in LANGUAGE_TEXTS}) != len(LANGUAGE_TEXTS):
        raise SystemExit("duplicate language key")
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "tables")
    os.makedirs(out, exist_ok=True)
    files = {"ORG": settings_bytes()}
    for lang in (1, 2, 3):
        files["lang%d" % lang] = language_bytes(lang)
        files["org%d" % lang] = layout_bytes(lang)
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print("%-6s %6d bytes" % (name, len(data)))


if __name__ == "__main__":
    main()
