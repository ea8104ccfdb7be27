// The About box: the program's name, version, copyright and trademark notices from its own
// version resource, beside the product picture and the maker's logo.
#pragma once

#include <string>

#include "report/IVersionResources.h"
#include "win32/CDialogImpl.h"
#include "win32/CPalettePicture.h"
#include "win32/CTransparentBitmapButton.h"
#include "win32/UniqueHandle.h"

namespace stratigon::ui {

class CAboutDlg final : public win32::CDialogImpl<CAboutDlg> {
public:
    // The texts come from the version resource of `versionFile` (empty: this program's own
    // file) read through `versions`; without either the labels keep the resource's texts.
    explicit CAboutDlg(IVersionResources* versions, std::string versionFile = {});

    static std::span<const MessageEntry> MessageTable();

protected:
    BOOL OnInitDialog() override;
    void OnDpiChanged(win32::DpiScale scale, const RECT& suggested) override;

private:
    bool LoadBitmaps();
    void MakeTitleBold();
    void ShowVersionTexts();
    void LayOut();
    bool HandlePaletteChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleQueryNewPalette(WPARAM wParam, LPARAM lParam, LRESULT& result);

    IVersionResources* m_versions;
    std::string m_versionFile;
    win32::DpiScale m_scale;
    win32::CPalettePicture m_picture;
    win32::CTransparentBitmapButton m_logo;
    win32::UniqueFont m_boldFont;
};

}  // namespace stratigon::ui
