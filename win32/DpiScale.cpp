#include "win32/DpiScale.h"

#include "win32/GdiGuards.h"

namespace stratigon::win32 {

namespace {

// The per-monitor functions came with Windows 8.1 and 10. Each is looked up rather than
// linked, so the program still starts where they are missing and works at the system scale.
template <class Function>
Function* LookUp(HMODULE module, const char* name)
{
    return module == nullptr ? nullptr : reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

template <class Function>
Function* UserFunction(const char* name)
{
    return LookUp<Function>(::GetModuleHandleA("user32.dll"), name);
}

using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL WINAPI(UINT, UINT, PVOID, UINT, UINT);
using GetDpiForMonitorFunction = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

UINT SystemDpi()
{
    const CWindowDC screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : DpiScale::kStandardDpi;
}

}  // namespace

DpiScale DpiScale::OfWindow(HWND window)
{
    static auto* const dpiForWindow = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = dpiForWindow != nullptr && window != nullptr ? dpiForWindow(window) : 0;
    return dpi != 0 ? DpiScale(dpi) : OfSystem();
}

DpiScale DpiScale::AtPoint(POINT point)
{
    static const UniqueModule shcore(::LoadLibraryA("shcore.dll"));
    static auto* const dpiForMonitor = LookUp<GetDpiForMonitorFunction>(shcore.get(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (dpiForMonitor == nullptr ||
        FAILED(dpiForMonitor(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) || x == 0)
        return OfSystem();
    return DpiScale(x);
}

DpiScale DpiScale::OfSystem() { return DpiScale(SystemDpi()); }

int DpiScale::SystemMetric(int index) const
{
    static auto* const metricForDpi = UserFunction<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return metricForDpi != nullptr ? metricForDpi(index, m_dpi) : ::GetSystemMetrics(index);
}

UniqueFont DpiScale::StatusFont() const
{
    static auto* const parametersForDpi = UserFunction<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi == nullptr ||
        !parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, m_dpi)) {
        // The system's metrics are for the system's scale.
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfStatusFont.lfHeight = ::MulDiv(metrics.lfStatusFont.lfHeight, static_cast<int>(m_dpi),
                                                 static_cast<int>(SystemDpi()));
    }
    return UniqueFont(::CreateFontIndirectW(&metrics.lfStatusFont));
}

UniqueFont DpiScale::PointFont(const char* face, int points, int weight) const
{
    return UniqueFont(::CreateFontA(-::MulDiv(points, static_cast<int>(m_dpi), 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, face));
}

std::size_t DpiScale::Choose(std::span<const int> percents) const
{
    const int percent = ::MulDiv(static_cast<int>(m_dpi), 100, kStandardDpi);
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < percents.size(); ++i)
        if (percents[i] <= percent)
            chosen = i;
    return chosen;
}

}  // namespace stratigon::win32
