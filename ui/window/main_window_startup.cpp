// The main window's construction, destruction and start-up sequence.
#include <array>
#include <atomic>
#include <mutex>
#include <optional>

#include "base/clock.h"
#include "base/user_prompts.h"
#include "device/apply_tables.h"
#include "device/command_protocol.h"
#include "device/device_discovery.h"
#include "device/main_window_link.h"
#include "device/program_device_link.h"
#include "macros/macro_commands.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_group_change.h"
#include "macros/macro_record.h"
#include "settings/config_ini_file.h"
#include "settings/ini_value.h"
#include "settings/settings_state.h"
#include "ui/macro_page/macro_page_controls.h"
#include "ui/pages/led_mode_names.h"
#include "ui/pages/paint_settings.h"
#include "ui/pages/skin_layout_win32.h"
#include "ui/popups/win32_user_prompts.h"
#include "ui/resources/resource_ids.h"
#include "ui/window/blink_thread.h"
#include "ui/window/command_line.h"
#include "ui/window/font_scale.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "ui/window/main_window_run.h"
#include "ui/window/window_messages.h"
#include "winlib/image_file.h"
#include "winlib/mask_runs.h"
#include "winlib/point_font.h"
#include "winlib/region_from_runs.h"
#include "winlib/wide.h"

bool g_startDeviceThreads = true;

namespace {

std::atomic<HWND> g_mainWindowHandle{nullptr};

// The device threads' repaint requests.
void RepaintMainWindow()
{
    if (HWND window = g_mainWindowHandle.load()) InvalidateRect(window, nullptr, TRUE);
}

// A device thread's file that took no write: told on this window's thread.
void PostDeviceWriteFailed()
{
    if (HWND window = g_mainWindowHandle.load()) PostMessageW(window, WM_DEVICE_WRITE_FAILED, 0, 0);
}

RegionOwner RectRegion(const RECT& rect) { return RegionOwner(CreateRectRgnIndirect(&rect)); }

}  // namespace

CTEV_KestraDlg::CTEV_KestraDlg(HWND parent)
    : Dialog(IDD_TEV_KESTRA_DIALOG), m_parent(parent), m_apply([this] { RunApply(); })
{
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CTEV_KestraDlg::~CTEV_KestraDlg()
{
    // Nothing the device threads use may go while they run.
    StopDeviceThreads();
    StopWindowThreads();
}

BOOL CTEV_KestraDlg::OnInitDialog()
{
    try {
        StartUp();
    } catch (...) {
        // Out of memory (a huge mask) or a thread the system cannot start: a window that never
        // came alive would drop every click and only hide on Alt+F4. The program ends instead.
        m_started = false;
        try {
            EndWithMessage(CannotStartText(!m_languageRead || g_languageEnglish != 0));
        } catch (...) {
        }
        EndProgram(true);
    }
    return TRUE;
}

void CTEV_KestraDlg::StartUp()
{
    g_mainWindowHandle = Handle();
    if (auto* prompts = dynamic_cast<Win32UserPrompts*>(&GetPrompts())) prompts->SetOwner(Handle());
    SetMainWindowRepaint(RepaintMainWindow);
    SetDeviceWriteFailed(PostDeviceWriteFailed);
    m_controlBrush.Reset(CreateSolidBrush(RGB(0, 0, 0)));

    StartWorkerThreads();
    AddAboutToSystemMenu();
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SetUpFolders();
    m_startupImages.emplace(AsWide(g_skinFolder));
    LoadCurrentProfileAndLanguage();
    if (m_ending) return;
    {
        // The device threads already run: a profile switched on the mouse may change g_curConfig.
        std::lock_guard lock(g_settingsMutex);
        LoadProfile(g_configIniPath, static_cast<int>(g_curConfig), false);
    }
    CreateFonts();
    View().SetText(kMainWindowTitle);

    LoadSkinMainLayout();
    LoadSkinColorLayout();
    LoadSkinAdvanceLayout();
    LoadSkinMacroLayout();
    if (m_ending) return;
    CreateMacroPageControlObjects();
    FillLedModeNames();
    LoadWarningLayout();
    if (m_ending || !CutWindowShape()) return;

    LoadMacroData();
    LoadLanguageMenus(g_languageEnglish);
    FindMouseAtStart();
    m_pageImage.Take(m_startupImages->TakePageImages());
    m_startupImages.reset();
    m_started = !m_ending;
    if (m_started) RefreshPaintSettings();
}

void CTEV_KestraDlg::StartWorkerThreads()
{
    if (g_startDeviceThreads) StartDeviceThreads();
    StartBlinkThread();
}

void CTEV_KestraDlg::AddAboutToSystemMenu()
{
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    if (systemMenu == nullptr) return;
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return;
    const std::wstring about(text, static_cast<size_t>(length));
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, kAboutCommand, about.c_str());
}

void CTEV_KestraDlg::SetUpFolders()
{
    std::lock_guard lock(g_settingsMutex);
    g_skinFolder = g_programFolder + u"\\skins";
    g_configFolder = g_skinFolder + u"\\config\\";
    g_configIniPath = g_skinFolder + u"\\config\\config.ini";
}

void CTEV_KestraDlg::LoadCurrentProfileAndLanguage()
{
    // A CurConfig outside 1..4 (or none) is taken as profile 1, so the profile tables are never
    // indexed outside their four rows.
    LoadInitSection(g_configIniPath);
    m_languageRead = true;
    {
        std::lock_guard lock(g_settingsMutex);
        g_configSection = u"Config" + g_curConfigText;
    }
    // Without its profile (config.ini missing, empty or cut short) the program would run, and
    // apply, a profile of zeros: no left click on any button. Nothing is written to the file.
    if (!ConfigHoldsStartProfile(g_configIniPath)) {
        EndWithMessage((g_languageEnglish != 0 ? u"Cannot read the profiles of the configuration file:\n"
                                                : u"No se pueden leer los perfiles del archivo de configuración:\n") +
                       g_configIniPath);
    }
}

void CTEV_KestraDlg::CreateFonts()
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    const int pixelsPerInch = display != nullptr ? GetDeviceCaps(display, LOGPIXELSX) : 96;
    if (display != nullptr) DeleteDC(display);
    const int32_t tenths = FontPointTenths(DisplayScale(pixelsPerInch));
    g_fontEn = CreatePointFont(tenths, L"Arial");
    g_fontEs = CreatePointFont(tenths, L"Arial");
    g_fontLarge = CreatePointFont(tenths + kLargeFontExtraTenths, L"Arial");
}

bool CTEV_KestraDlg::CutWindowShape()
{
    g_mainMaskPath = g_skinFolder + u"\\main_mask.jpg";
    // Decoded beside the steps before this one, from g_mainMaskPath.
    std::optional<PixelImage> pixels = m_startupImages->TakeMask();
    if (!pixels) {
        EndWithMessage((g_languageEnglish != 0 ? u"Cannot read the window's mask image:\n"
                                                : u"No se puede leer la imagen de máscara de la ventana:\n") +
                       g_mainMaskPath);
        return false;
    }
    g_skinWidth = pixels->width;
    g_skinHeight = pixels->height;
    const std::vector<PixelRun> runs = MaskRuns(pixels->pixels, pixels->width, pixels->height);
    RegionOwner shape = RegionFromRuns(runs);
    g_windowRegion = RegionFromRuns(runs);
    // Cut by difference: controls that overlap must not add area back.
    for (const RECT& control : {g_macroNameEditRect, g_macroListRect, g_eventListRect}) {
        RegionOwner cut = RectRegion(control);
        CombineRgn(g_windowRegion.Get(), g_windowRegion.Get(), cut.Get(), RGN_DIFF);
    }
    // The window owns its shape from here on.
    if (SetWindowRgn(Handle(), shape.Get(), TRUE) != 0) shape.Release();
    return true;
}

void CTEV_KestraDlg::LoadLanguageMacroGroups()
{
    std::u16string language;
    {
        std::lock_guard lock(g_settingsMutex);
        language = g_skinFolder + (g_languageEnglish != 0 ? u"\\INI_EN" : u"\\INI_CN");
    }
    SwitchMacroFolders(GetProfileFiles(), CurrentMacroKeyLayout(), language + u"\\macro\\", language + u"\\macroReset\\");
}

void CTEV_KestraDlg::LoadMacroData()
{
    LoadLanguageMacroGroups();
    ReadConstMacroFile(g_programFolder + u"\\constMacro.dat");
    const uint16_t events = MacroTableCopy(g_currentMacro).eventCount;
    g_eventLine = events != 0 ? 2 * events - 2 : 0;
}

void CTEV_KestraDlg::FindMouseAtStart()
{
    g_deviceIds = kKestraDeviceIds;
    g_deviceConnected = FindDevice(reinterpret_cast<WindowHandleValue>(Handle()));
    if (g_deviceConnected == 0) {
        EndWithMessage(std::u16string(g_languageEnglish != 0 ? u"Please plug-in USB Mouse:"
                                                             : u"Por favor conecte el mouse USB:") +
                       u"AMorvek Quorvel Gaming Mouse Install");
        return;
    }
    GetClock().SleepMs(5);
    if (std::optional<DeviceStatusReport> status = ReadDeviceStatus()) g_deviceOptionNibble = status->OptionNibble();
    AddTrayIcon();
    if (CommandLineAsksHidden(FromWide(GetCommandLineW()))) g_startHidden = 1;
}

void CTEV_KestraDlg::EndWithMessage(const std::u16string& text)
{
    // Once: the files read after a missing one must not repeat the message or the exit command.
    if (m_ending) return;
    // Ending from here on: the message box's loop must not run an apply or a click over
    // settings that were never loaded.
    BeginEnding();
    GetPrompts().ShowMessage(text, u"", MessageStyle::Ok);
    EndProgram(true);
}

void CTEV_KestraDlg::OnDestroy()
{
    // Every thread that touches the window ends here, while its handle is still valid; a step
    // download the input thread is in the middle of is finished first (the mouse must not keep
    // half a stream), so the window goes out of sight before that wait. Only then the exit
    // command: nothing may reach the mouse after it.
    View().Show(SW_HIDE);
    // A step download's box (on its own thread) never takes this window as owner, so the wait
    // below ends once it is answered; no box after the end names a window that is gone.
    if (auto* prompts = dynamic_cast<Win32UserPrompts*>(&GetPrompts())) prompts->SetOwner(nullptr);
    StopDeviceThreads();
    if (m_exitCommandAtEnd) SendDriverExit();
    StopWindowThreads();
    RemoveTrayIcon();
    SetMainWindowRepaint(nullptr);
    SetDeviceWriteFailed(nullptr);
    ClearDeviceWriteFailures();
    g_mainWindowHandle = nullptr;
}
