#include "views/Adapters/Theme/AppStyleSheet.h"

#include "views/Common/StyleSheetRule.h"

namespace zorvpro
{
namespace
{
// The colours and images of one theme.
struct Palette
{
    QString menuSelectedBack, menuSelectedText;
    QString tableSelectedBack;
    QString windowBack, windowText;
    QString labelDisabled;
    QString editBorder, editText;
    QString selectionBack, selectionText;
    QString editDisabledBorder, editDisabled;
    QString splitter, splitterVertImage, splitterHorizImage;
    QString buttonBack, buttonText, buttonDisabledText, focusOutline, buttonHoverBack, buttonHoverText;
    QString comboText;
    QString scrollTrack, scrollHandle;
    QString slider;
    QString line;
};

Palette PaletteOf(bool light)
{
    Palette p;
    p.menuSelectedBack = light ? "#575757" : "#aaaaaa";
    p.menuSelectedText = light ? "#F8F8F8" : "#000000";
    p.tableSelectedBack = light ? "#575757" : "#cccccc";
    p.windowBack = light ? "#F8F8F8" : "#141414";
    p.windowText = light ? "#575757" : "#aaaaaa";
    p.labelDisabled = light ? "#aaaaaa" : "#575757";
    p.editBorder = light ? "0.5px solid #aaaaaa" : "0.5px solid #777777";
    p.editText = light ? "#000000" : "#FFFFFF";
    p.selectionBack = light ? "#575757" : "#aaaaaa";
    p.selectionText = light ? "#F8F8F8" : "#000000";
    p.editDisabledBorder = light ? "0.5px solid #aaaaaa" : "0.5px solid #575757";
    p.editDisabled = light ? "#aaaaaa" : "#575757";
    p.splitter = light ? "#FFFFFF" : "#000000";
    p.splitterVertImage =
        light ? ":/Resources/Icons/splitter_vert_light.png" : ":/Resources/Icons/splitter_vert_dark.png";
    p.splitterHorizImage =
        light ? ":/Resources/Icons/splitter_horiz_light.png" : ":/Resources/Icons/splitter_horiz_dark.png";
    p.buttonBack = light ? "#e0e0e0" : "#3b3b3b";
    p.buttonText = light ? "#000000" : "#F8F8F8";
    p.buttonDisabledText = light ? "#cccccc" : "#575757";
    p.focusOutline = light ? "1px solid #000000" : "1px solid #FFFFFF";
    p.buttonHoverBack = light ? "#575757" : "#cccccc";
    p.buttonHoverText = light ? "#F8F8F8" : "#242424";
    p.comboText = light ? "#000000" : "#FFFFFF";
    p.scrollTrack = light ? "#F8F8F8" : "#141414";
    p.scrollHandle = light ? "#aaaaaa" : "#575757";
    p.slider = light ? "#242424" : "#F8F8F8";
    p.line = light ? "#dddddd" : "#000000";
    return p;
}

QString Url(const QString& path)
{
    return QStringLiteral("url(") + path + QStringLiteral(")");
}
} // namespace

QStringList ApplicationStyleRules(int theme)
{
    const Palette p = PaletteOf(theme == 1);
    using Map = QMap<QString, QString>;
    const Map dialogButton{
        {"border-radius", "12px"}, {"height", "20px"}, {"padding", "1px"}, {"width", "80px"}};
    const Map scrollLineVertical{{"background", p.scrollHandle}, {"height", "0px"}};
    const Map scrollLineHorizontal{{"background", p.scrollHandle}, {"width", "0px"}};
    const Map scrollPage{{"background", p.scrollTrack}};

    const std::pair<const char*, Map> rules[] = {
        {"QWidget", {{"font-size", "12px"}}},
        {"QMenu::item:selected", {{"background-color", p.menuSelectedBack}, {"color", p.menuSelectedText}}},
        {"QPushButton:menu-indicator", {{"image", "none"}}},
        {"QTableWidget:item:selected, QTableWidget:item:focus",
         {{"background-color", p.tableSelectedBack}, {"color", p.menuSelectedText}}},
        {"QWidget", {{"background-color", p.windowBack}, {"color", p.windowText}}},
        {"QLabel:disabled", {{"color", p.labelDisabled}}},
        // Tool tips look the same in both themes.
        {"QToolTip", {{"background-color", "#F8F8F8"}, {"color", "#242424"}, {"font-size", "12px"}}},
        {"QLineEdit, QPlainTextEdit", {{"border", p.editBorder}, {"color", p.editText}}},
        {"QLineEdit",
         {{"border", "none"},
          {"border-bottom", p.editBorder},
          {"color", p.editText},
          {"selection-background-color", p.selectionBack},
          {"selection-color", p.selectionText}}},
        {"QSpinBox", {{"selection-background-color", p.selectionBack}, {"selection-color", p.selectionText}}},
        {"QLineEdit:disabled, QPlainTextEdit:disabled",
         {{"border", "none"},
          {"border-bottom", p.editDisabledBorder},
          {"color", p.editDisabled},
          {"selection-background-color", p.editDisabled}}},
        {"QSplitter",
         {{"background-color", p.splitter},
          {"color", p.splitter},
          {"border", "none"},
          {"height", "4px"},
          {"width", "4px"}}},
        {"QSplitter::handle:vertical",
         {{"background-color", p.splitter},
          {"border", "none"},
          {"image", Url(p.splitterVertImage)},
          {"margin", "1px"},
          {"max-width", "25px"},
          {"width", "25px"}}},
        {"QSplitter::handle:horizontal",
         {{"background-color", p.splitter},
          {"border", "none"},
          {"height", "25px"},
          {"image", Url(p.splitterHorizImage)},
          {"margin", "1px"},
          {"max-height", "25px"}}},
        {"QToolBar", {{"border", "0px"}}},
        {"QPushButton",
         {{"background-color", p.buttonBack}, {"border-radius", "12px"}, {"color", p.buttonText}}},
        {"QPushButton:disabled",
         {{"background-color", p.buttonBack}, {"border-radius", "12px"}, {"color", p.buttonDisabledText}}},
        {"QPushButton:focus",
         {{"border", "none"},
          {"outline", p.focusOutline},
          {"outline-radius", "10.5px"},
          {"outline-style", "outset"}}},
        {"QPushButton:pressed", {{"border-style", "offset"}, {"border-width", "4px"}}},
        {"QPushButton:hover", {{"background-color", p.buttonHoverBack}, {"color", p.buttonHoverText}}},
        {"QMessageBox QPushButton", dialogButton},
        {"QDialog QPushButton", dialogButton},
        {"QComboBox", {{"background-color", p.buttonBack}, {"border-radius", "8px"}, {"color", p.comboText}}},
        {"QComboBox:focus", {{"border", p.focusOutline}}},
        {"QComboBox QAbstractItemView",
         {{"background-color", p.buttonBack},
          {"selection-background-color", p.selectionBack},
          {"selection-color", p.selectionText}}},
        {"QComboBox::drop-down", {{"border-left-width", "0px"}}},
        {"QComboBox::down-arrow", {{"image", Url(":/Resources/Icons/ComboBox_DropDown_Arrow.png")}}},
        {"QScrollBar:vertical", {{"background", p.scrollTrack}, {"width", "12px"}}},
        {"QScrollBar::add-line:vertical", scrollLineVertical},
        {"QScrollBar::sub-line:vertical", scrollLineVertical},
        {"QScrollBar::add-page:vertical", scrollPage},
        {"QScrollBar::sub-page:vertical", scrollPage},
        {"QScrollBar::handle:vertical",
         {{"background", p.scrollHandle},
          {"border-radius", "4px"},
          {"margin", "0px 2px 2px 2px"},
          {"min-height", "10px"},
          {"width", "8px"}}},
        {"QScrollBar:horizontal",
         {{"background", p.scrollTrack}, {"border-radius", "4px"}, {"height", "12px"}}},
        {"QScrollBar::add-line:horizontal", scrollLineHorizontal},
        {"QScrollBar::sub-line:horizontal", scrollLineHorizontal},
        {"QScrollBar::add-page:horizontal", scrollPage},
        {"QScrollBar::sub-page:horizontal", scrollPage},
        {"QScrollBar::handle:horizontal",
         {{"background", p.scrollHandle},
          {"border-radius", "4px"},
          {"height", "6px"},
          {"margin", "2px 0px 2px 2px"},
          {"min-width", "10px"}}},
        {"QSlider::handle:horizontal",
         {{"background", p.slider},
          {"color", p.slider},
          {"border", "1px solid " + p.slider},
          {"border-radius", "3px"},
          {"height", "6px"},
          {"margin", "-3px 0"},
          {"width", "6px"}}},
        {"QSlider::groove:horizontal", {{"background", p.slider}, {"color", p.slider}, {"height", "2px"}}},
        {"QMessageBox QPushButton", {{"padding", "1px"}}},
        // Horizontal and vertical lines.
        {"QFrame[frameShape=\"4\"], QFrame[frameShape=\"5\"]", {{"color", p.line}}},
    };

    QStringList sheet;
    for (const auto& rule : rules)
        sheet << makeStyleSheetRule(QString::fromLatin1(rule.first), rule.second);
    return sheet;
}

QString ApplicationStyleSheet(int theme)
{
    return ApplicationStyleRules(theme).join(QLatin1Char(' '));
}
} // namespace zorvpro
