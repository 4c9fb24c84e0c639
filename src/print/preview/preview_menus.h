#pragma once
// The menus of the print preview as data: each item's caption, visibility and check mark. The preview
// driver keeps them; the window shows them, one QAction an item, named by objectName().
#include <QString>
#include <array>

namespace slp::print {

struct PreviewMenuItem {
    QString caption;
    bool visible = true;
    bool checked = false;
};

class PreviewMenus {
  public:
    // The indexes of the MenuPrintSet items, in menu order.
    static constexpr std::array<int, 8> kPrintSetIndexes{5, 6, 7, 8, 9, 10, 21, 25};
    // Whether a MenuPrintSet index is a check item (the rules, sign-off and pay date).
    static bool isCheckItem(int printSetIndex);
    static bool isPrintSetIndex(int index);
    // The objectName of each item's action: "SELPAGE", "PRINTOUT", "SETPrint_1", "MenuSet_3",
    // "MenuPrintSet_21", "EXITRANCE".
    static QString menuSetName(int index);
    static QString printSetName(int index);
    static QString setPrintName(int index);

    PreviewMenus();

    PreviewMenuItem selPage;    // SELPAGE: "共" & pageCount & "页,现第" & currentPage & "页"
    PreviewMenuItem printOut;   // PRINTOUT: "打印"
    PreviewMenuItem setPrint1;  // SETPrint(1): "设置", the submenu of MenuSet
    PreviewMenuItem setPrint2;  // SETPrint(2): "打印设置", the submenu of MenuPrintSet
    PreviewMenuItem exitRance;  // EXITRANCE: "退出"

    // MenuSet(1) to (4). Throws std::out_of_range for another index.
    PreviewMenuItem& menuSet(int index);
    const PreviewMenuItem& menuSet(int index) const;
    // MenuPrintSet(5) to (10), (21), (25). Throws std::out_of_range for another index.
    PreviewMenuItem& printSet(int index);
    const PreviewMenuItem& printSet(int index) const;

  private:
    static size_t printSetSlot(int index);

    std::array<PreviewMenuItem, 4> menuSet_;
    std::array<PreviewMenuItem, 8> printSet_;
};

}  // namespace slp::print
