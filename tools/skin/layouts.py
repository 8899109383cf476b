"""Every rectangle of the five layouts, with its English and Spanish text and the look the
image painter gives it. The layout files and the images are both drawn from these tables, so a
rectangle always has its look in every image of its page."""

from dataclasses import dataclass

# The window: 577 x 395 dialog units of "MS Shell Dlg" 8 at 96 DPI, whose dialog base units are
# 6 x 13 pixels: x = 577 * 6 / 4 = 865.5 -> 866, y = 395 * 13 / 8 = 641.9 -> 642 (rounded as
# MulDiv rounds).
WINDOW_W = 866
WINDOW_H = 642

# Pop-up list images (their masks give the size; rows are cut by the program).
MENU_W, MENU_H = 180, 15 * 26          # profiles (H / 10 a row), groups, effects, reactions, sub-lists
MENU1_W, MENU1_H = 191, 15 * 28        # button functions: width of a mouse-button rectangle + 1
MORE_W, MORE_H = 226, 3 * 30           # macro file commands: width of macro rectangle 4
WARNING_W, WARNING_H = 440, 180


@dataclass
class Rect:
    key: int
    name: str
    x: int
    y: int
    w: int
    h: int
    en: str = ""
    es: str = ""
    look: str = "none"  # how the painter draws it (see pages.py)
    extra: object = None

    @property
    def box(self):
        return (self.x, self.y, self.x + self.w, self.y + self.h)


def _table(count, rects):
    by_key = {r.key: r for r in rects}
    assert len(by_key) == len(rects), "duplicate id"
    return [by_key.get(k, Rect(k, "unused", 0, 0, 0, 0)) for k in range(count)]


# ---------------------------------------------------------------- main layout: frame and page 0

TAB_Y, TAB_H, TAB_W = 62, 42, 200
BUTTON_W, BUTTON_H = MENU1_W - 1, 34
LEFT_BUTTON_X, RIGHT_BUTTON_X = 252, 652
BUTTON_ROW_Y = [150, 232, 314, 396, 478]

# Mouse buttons 1..9 (ids 20..28): column and row on the page, and the part of the mouse drawing
# their callout line points at (see pages.py).
MOUSE_BUTTONS = [
    # id, column, row, part
    (20, "left", 0, "left"),
    (21, "right", 0, "right"),
    (22, "right", 1, "wheel"),
    (23, "left", 1, "side_front"),
    (24, "left", 2, "side_back"),
    (25, "left", 3, "dpi_down"),
    (26, "right", 2, "side_mid"),
    (27, "right", 3, "dpi_up"),
    (28, "left", 4, "top"),
]


def main_layout():
    rects = [
        Rect(0, "minimize", 772, 12, 36, 30, look="icon_button", extra="minimize"),
        Rect(1, "close", 812, 12, 36, 30, look="icon_button", extra="close"),
        Rect(2, "defaults", 546, 592, 140, 36, "Defaults", "Por defecto", look="button", extra="reset"),
        Rect(3, "apply", 702, 592, 140, 36, "Apply", "Aplicar", look="accent_button", extra="check"),
        Rect(4, "spanish", 700, 14, 46, 26, "ES", "ES", look="lang"),
        Rect(5, "english", 650, 14, 46, 26, "EN", "EN", look="lang"),
        Rect(10, "logo", 20, 8, 236, 40, look="logo"),
    ]
    tab_texts = [("Buttons", "Botones"), ("Performance", "Rendimiento"), ("Macros", "Macros"),
                 ("Lighting", "Iluminación")]
    for i, (en, es) in enumerate(tab_texts):
        rects.append(Rect(6 + i, "tab%d" % i, 24 + i * (TAB_W + 6), TAB_Y, TAB_W, TAB_H, en, es, look="tab",
                          extra=i))
    rects += [
        Rect(15, "profile_label", 40, 132, 180, 22, "Profile", "Perfil", look="label"),
        Rect(11, "profile", 40, 158, MENU_W, 34, look="dropdown"),
        Rect(16, "config_label", 40, 214, 180, 22, "Configuration", "Configuración", look="label"),
        Rect(12, "import", 40, 240, 180, 34, "Import", "Importar", look="button", extra="import"),
        Rect(13, "export", 40, 282, 180, 34, "Export", "Exportar", look="button", extra="export"),
        Rect(14, "reset", 40, 324, 180, 34, "Reset profile", "Restablecer", look="button", extra="reset"),
        Rect(17, "buttons_label", 252, 122, 590, 22, "Button assignments", "Asignación de botones",
             look="label"),
        Rect(18, "hint", 252, 540, 590, 22, "Click a button to change what it does",
             "Pulse un botón para cambiar su función", look="label"),
        Rect(19, "website", 40, 540, 180, 34, "Website", "Sitio web", look="button", extra="web"),
    ]
    for key, column, row, part in MOUSE_BUTTONS:
        x = LEFT_BUTTON_X if column == "left" else RIGHT_BUTTON_X
        rects.append(Rect(key, "mouse_button%d" % (key - 19), x, BUTTON_ROW_Y[row], BUTTON_W, BUTTON_H,
                          look="assign", extra=(column, part)))
    return _table(29, rects)


# Function names by assignment code 1..47 (FUN_STRING); 18..21 are also the profile names.
FUNCTION_NAMES = {
    1: ("Left Click", "Clic izquierdo"),
    2: ("Right Click", "Clic derecho"),
    3: ("Middle Click", "Clic central"),
    4: ("Back", "Atrás"),
    5: ("Forward", "Adelante"),
    6: ("DPI Cycle", "Ciclo de DPI"),
    7: ("More Functions", "Más funciones"),
    8: ("Media Keys", "Multimedia"),
    9: ("Macros", "Macros"),
    10: ("Quick Macros", "Macros rápidas"),
    11: ("Scroll Up", "Rueda arriba"),
    12: ("Scroll Down", "Rueda abajo"),
    13: ("Double Click", "Doble clic"),
    14: ("Triple Click", "Triple clic"),
    15: ("DPI Up", "Subir DPI"),
    16: ("DPI Down", "Bajar DPI"),
    17: ("Profile Cycle", "Ciclo de perfil"),
    18: ("Profile 1", "Perfil 1"),
    19: ("Profile 2", "Perfil 2"),
    20: ("Profile 3", "Perfil 3"),
    21: ("Profile 4", "Perfil 4"),
    22: ("Home Page", "Página de inicio"),
    23: ("Media Player", "Reproductor"),
    24: ("E-mail", "Correo"),
    25: ("Volume Up", "Subir volumen"),
    26: ("Volume Down", "Bajar volumen"),
    27: ("Previous Track", "Pista anterior"),
    28: ("Next Track", "Pista siguiente"),
    29: ("Mute", "Silencio"),
    30: ("Play/Pause", "Reproducir/Pausa"),
    31: ("Calculator", "Calculadora"),
    32: ("Copy (Ctrl+C)", "Copiar (Ctrl+C)"),
    33: ("Paste (Ctrl+V)", "Pegar (Ctrl+V)"),
    34: ("Cut (Ctrl+X)", "Cortar (Ctrl+X)"),
    35: ("Undo (Ctrl+Z)", "Deshacer (Ctrl+Z)"),
    36: ("Redo (Ctrl+Y)", "Rehacer (Ctrl+Y)"),
    37: ("Select All (Ctrl+A)", "Seleccionar todo"),
    38: ("Switch App (Alt+Tab)", "Cambiar app (Alt+Tab)"),
    39: ("Show Desktop", "Mostrar escritorio"),
    40: ("Fire Key", "Disparo rápido"),
    41: ("Save (Ctrl+S)", "Guardar (Ctrl+S)"),
    42: ("Find (Ctrl+F)", "Buscar (Ctrl+F)"),
    43: ("Refresh (F5)", "Actualizar (F5)"),
    44: ("Close Window", "Cerrar ventana"),
    45: ("Reserved", "Reservado"),
    46: ("Reserved", "Reservado"),
    47: ("Reserved", "Reservado"),
}


# ---------------------------------------------------------------- advanced layout, page 1

CPI_STEPS = [200, 400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3200, 4000, 4800]
DPI_ROW_Y0, DPI_ROW_STEP, DPI_ROW_H = 184, 34, 26
MARKER_X, MARKER_W = 40, 58
ENABLE_X, ENABLE_W = 108, 28
SEGMENT_X0, SEGMENT_STEP, SEGMENT_W = 148, 50, 46
SWATCH_X, SWATCH_W = 760, 64
SLIDER_X, SLIDER_W, SLIDER_H = 262, 480, 20
SLIDER_ROWS = [(1, 2, 3, 442), (18, 19, 17, 492), (31, 32, 30, 542)]  # bar, number, label, y


def advanced_layout():
    rects = [
        Rect(4, "dpi_title", 40, 124, 180, 24, "DPI levels", "Niveles de DPI", look="title"),
        Rect(53, "level_label", MARKER_X, 154, MARKER_W, 22, "Level", "Nivel", look="label"),
        Rect(54, "enable_label", ENABLE_X - 8, 154, ENABLE_W + 16, 22, "On", "Act.", look="label"),
        Rect(55, "colour_label", SWATCH_X, 154, SWATCH_W, 22, "Colour", "Color", look="label"),
        Rect(5, "speed_title", 40, 406, 180, 24, "Pointer and fire", "Puntero y disparo", look="title"),
    ]
    for level in range(6):
        y = DPI_ROW_Y0 + level * DPI_ROW_STEP
        rects.append(Rect(60 + level, "marker%d" % level, MARKER_X, y, MARKER_W, DPI_ROW_H, str(level + 1),
                          str(level + 1), look="marker"))
        rects.append(Rect(47 + level, "enable%d" % level, ENABLE_X, y, ENABLE_W, DPI_ROW_H, look="check"))
        rects.append(Rect(41 + level, "swatch%d" % level, SWATCH_X, y, SWATCH_W, DPI_ROW_H, look="swatch"))
        for step in range(12):
            rects.append(Rect(66 + 12 * level + step, "dpi%d_%d" % (level, step), SEGMENT_X0 + step * SEGMENT_STEP,
                              y, SEGMENT_W, DPI_ROW_H, look="segment", extra=(level, step)))
    labels = {3: ("Pointer speed", "Velocidad del puntero"), 17: ("Scroll lines", "Líneas de rueda"),
              30: ("Fire interval", "Intervalo de disparo")}
    scales = {1: 10, 18: 10, 31: 300}
    for bar, number, label, y in SLIDER_ROWS:
        en, es = labels[label]
        rects.append(Rect(label, "slider_label%d" % bar, 40, y - 5, 212, 30, en, es, look="label_left"))
        rects.append(Rect(bar, "slider%d" % bar, SLIDER_X, y, SLIDER_W, SLIDER_H, look="bar",
                          extra=scales[bar]))
        rects.append(Rect(number, "value%d" % bar, SLIDER_X + SLIDER_W + 14, y - 5, 80, 30, look="value"))
    return _table(138, rects)


# ---------------------------------------------------------------- macro layout, page 2

def macro_layout():
    rects = [
        Rect(0, "group_label", 40, 126, 226, 22, "Macro group", "Grupo de macros", look="label"),
        Rect(1, "group_menu", 40 + 159, 154, 27, 26, look="drop_arrow"),
        Rect(2, "new_group", 40, 188, 110, 30, "New", "Nuevo", look="button", extra="plus"),
        Rect(3, "delete_group", 156, 188, 110, 30, "Delete", "Borrar", look="button", extra="trash"),
        Rect(8, "macro_label", 40, 230, 226, 22, "Macros", "Macros", look="label"),
        Rect(6, "new_macro", 40, 502, 110, 30, "New", "Nueva", look="button", extra="plus"),
        Rect(7, "delete_macro", 156, 502, 110, 30, "Delete", "Borrar", look="button", extra="trash"),
        Rect(4, "file_menu", 40, 540, MORE_W, 30, "Import / Export", "Importar / Exportar", look="button",
             extra="files"),
        Rect(9, "event_label", 300, 126, 280, 22, "Events", "Eventos", look="label"),
        Rect(5, "record", 300, 540, 280, 30, look="record"),
        Rect(13, "mode_label", 612, 126, 218, 22, "Play mode", "Modo de reproducción", look="label"),
        Rect(12, "mode_repeat", 612, 154, 146, 30, "Repeat", "Repetir", look="radio"),
        Rect(11, "mode_held", 612, 190, 218, 30, "While held", "Mientras se pulsa", look="radio"),
        Rect(10, "mode_toggle", 612, 226, 218, 30, "Toggle loop", "Bucle on/off", look="radio"),
        Rect(14, "light_label", 612, 272, 218, 22, "Light blocks", "Bloques de luz", look="label"),
    ]
    return _table(20, rects)


# Controls of the macro page, as (x, y, w, h): EDIT 0..2 and MACRODISPLAY 1..3.
MACRO_EDITS = {
    0: ("group_name", 40, 154, 159, 26),
    1: ("macro_name", 40, 258, 226, 24),
    2: ("repeat_count", 766, 157, 64, 24),
}
MACRO_DISPLAYS = {
    1: ("macro_list", 40, 288, 226, 206),
    2: ("event_list", 300, 154, 280, 378),
    3: ("light_list", 612, 298, 218, 272),
}


# ---------------------------------------------------------------- lighting layout, page 3

SWATCH_STEP = 54
REACT_ROW_Y0, REACT_ROW_STEP, REACT_ROW_H = 300, 29, 25


def color_layout():
    rects = [
        Rect(76, "effect_label", 40, 130, 180, 22, "Effect", "Efecto", look="label"),
        Rect(35, "effect", 40, 156, MENU_W, 32, look="dropdown"),
        Rect(45, "symmetry", 236, 156, 168, 32, "Symmetry", "Simetría", look="toggle"),
        # covered by 72 when the effect has no brightness
        Rect(72, "cover_brightness", 32, 212, 380, 72, look="cover"),
        Rect(38, "brightness_label", 40, 218, 360, 22, "Brightness", "Brillo", look="label_left"),
        Rect(40, "brightness", 40, 250, 360, 20, look="bar", extra=7),
        # covered by 73 when the effect has no speed
        Rect(73, "cover_speed", 32, 292, 380, 72, look="cover"),
        Rect(39, "speed_label", 40, 298, 360, 22, "Speed", "Velocidad", look="label_left"),
        Rect(41, "speed", 40, 330, 360, 20, look="bar", extra=6),
        # covered by 74 when the effect has no direction
        Rect(74, "cover_direction", 32, 372, 380, 120, look="cover"),
        Rect(30, "direction_label", 40, 378, 360, 22, "Direction", "Dirección", look="label_left"),
        Rect(98, "flow_hint", 40, 516, 360, 22, "Flow water runs in all four directions",
             "El flujo de agua admite las cuatro direcciones", look="label"),
        Rect(77, "reaction_label", 448, 270, 380, 22, "Button reaction", "Reacción de botones", look="label"),
        Rect(71, "cover_reaction", 614, 296, 218, 266, look="cover"),
        # covered by 75 when the effect takes no colours
        Rect(75, "cover_colours", 440, 152, 398, 92, look="cover"),
        Rect(15, "colour_label", 448, 126, 200, 22, "Colours", "Colores", look="label_left"),
        Rect(14, "user_colours", 660, 124, 170, 26, "Custom colours", "Personalizados", look="toggle"),
    ]
    directions = [("Forward", "Adelante"), ("Reverse", "Atrás"), ("Outward", "Hacia fuera"),
                  ("Inward", "Hacia dentro")]
    for i, (en, es) in enumerate(directions):
        x = 40 + i * 90
        rects.append(Rect(47 + i, "direction%d" % i, x, 406, 84, 44, look="direction", extra=i))
        rects.append(Rect(31 + i, "direction_label%d" % i, x, 454, 84, 22, en, es, look="label"))
    for slot in range(7):
        x = 452 + slot * SWATCH_STEP
        rects.append(Rect(slot, "colour%d" % slot, x, 158, 46, 46, look="swatch"))
        rects.append(Rect(7 + slot, "colour_on%d" % slot, x, 212, 46, 24, look="check_bar"))
    for button in range(9):
        y = REACT_ROW_Y0 + button * REACT_ROW_STEP
        rects.append(Rect(51 + button, "react%d" % button, 448, y, 160, REACT_ROW_H, "Button %d" % (button + 1),
                          "Botón %d" % (button + 1), look="toggle"))
        rects.append(Rect(61 + button, "react_type%d" % button, 620, y, MENU_W - 1, REACT_ROW_H, look="dropdown"))
    return _table(103, rects)


# ---------------------------------------------------------------- warning box

def warning_layout():
    return _table(3, [
        Rect(0, "go_on", 70, 120, 130, 36, "Continue", "Continuar", look="dark_button"),
        Rect(1, "cancel", 240, 120, 130, 36, "Cancel", "Cancelar", look="dark_button"),
        Rect(2, "message", 20, 36, 400, 64, "The left click will move to the next button",
             "El clic izquierdo pasará al botón siguiente", look="message"),
    ])


LAYOUTS = {
    # name: (English file, Spanish file, builder, page image prefix)
    "main": ("skin_main_en.ini", "skin_main.ini", main_layout, "main"),
    "advance": ("skin_advance_en.ini", "skin_advance.ini", advanced_layout, "advanced"),
    "color": ("skin_color_en.ini", "skin_color.ini", color_layout, "led"),
    "mac": ("skin_mac_en.ini", "skin_mac.ini", macro_layout, "mac"),
    "warning": ("LBWarning_en.ini", "LBWarning.ini", warning_layout, "warning"),
}
