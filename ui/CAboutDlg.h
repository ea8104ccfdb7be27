// The About box: the program's name, version, copyright and trademark notices from its own
// version resource, beside the product picture and the maker's logo.
#pragma once

#include <string>

#include "report/IVersionResources.h"
#include "ui/CDialogImpl.h"
#include "ui/CPalettePicture.h"
#include "ui/CTransparentBitmapButton.h"
#include "ui/UniqueHandle.h"

namespace stratigon::ui {

class CAboutDlg final : public CDialogImpl<CAboutDlg> {
public:
    // The texts come from the version resource of `versionFile` (empty: this program's own
    // file) read through `versions`; without either the labels keep the resource's texts.
    explicit CAboutDlg(IVersionResources* versions, std::string versionFile = {});

    static std::span<const MessageEntry> MessageTable();

protected:
    BOOL OnInitDialog() override;

private:
    void MakeTitleBold();
    void ShowVersionTexts();
    void LayOut();
    bool HandlePaletteChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleQueryNewPalette(WPARAM wParam, LPARAM lParam, LRESULT& result);

    IVersionResources* m_versions;
    std::string m_versionFile;
    CPalettePicture m_picture;
    CTransparentBitmapButton m_logo;
    UniqueFont m_boldFont;
};

}  // namespace stratigon::ui
