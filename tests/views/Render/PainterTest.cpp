#include "views/Render/GeometryQP.h"
#include "views/Render/SelectionBoxEntity.h"
#include "views/Render/TextQP.h"
#include "views/Render/TooltipQP.h"

#include "Resources/Fonts/StandInFonts.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QVariant>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::qpainter;

namespace
{
QImage Paint(GeometryQP& geometry, QSize size = {240, 140})
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    geometry.Draw(painter);
    return image;
}

// The smallest rectangle holding every pixel the predicate accepts.
template <typename Predicate> QRect Extent(const QImage& image, Predicate accept)
{
    QRect extent;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (accept(QColor::fromRgba(image.pixel(x, y))))
                extent |= QRect(x, y, 1, 1);
    return extent;
}

bool Painted(const QColor& c)
{
    return c.alpha() > 0;
}

// Screenshots for a person to look at, beside the test data of the build.
void Save(const QImage& image, const QString& name)
{
    const QByteArray dataDir = qgetenv("ZORV_TEST_DATA_DIR");
    const QDir dir(dataDir.isEmpty() ? QDir::currentPath()
                                     : QString::fromLocal8Bit(dataDir) + "/../screenshots");
    QDir().mkpath(dir.path());
    image.save(dir.filePath(name + ".png"));
}

class PainterTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterStandInFonts(); }
};
} // namespace

TEST_F(PainterTest, StandInFontIsCompiledInAndAnswersForEveryFamily)
{
    EXPECT_EQ(RegisterStandInFonts(), "Manrope");
    for (const QString& family : StandInFontFamilies())
        EXPECT_EQ(QFontInfo(QFont(family, 12)).family(), "Manrope") << family.toStdString();
    QFile licence(":/Resources/Licenses/Manrope-OFL.txt");
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly));
    EXPECT_TRUE(licence.readAll().contains("SIL OPEN FONT LICENSE Version 1.1"));
}

TEST_F(PainterTest, CallbackGeometryAndTextLabels)
{
    GeometryQP empty;
    EXPECT_FALSE(Extent(Paint(empty), Painted).isValid());
    int calls = 0;
    empty.SetDrawCallback(
        [&](QPainter& painter)
        {
            ++calls;
            painter.fillRect(5, 6, 2, 3, Qt::red);
        });
    EXPECT_EQ(Extent(Paint(empty), Painted), QRect(5, 6, 2, 3));
    EXPECT_EQ(calls, 1);

    TextQP text;
    text.SetStyle("Gotham", 14.9, QColor(255, 0, 255), 1.0, true);
    text.AddText(10, 40, "Hall 1");
    text.SetStyle("\"Gotham\"", 10, QColor(0, 160, 0), 0.5, false);
    text.AddText(10, 100, "Side");
    ASSERT_EQ(text.GetItems().size(), 2u);
    EXPECT_EQ(text.GetItems()[0].pointSize, 14.9);
    EXPECT_EQ(text.GetItems()[1].family, "\"Gotham\"");
    const QImage image = Paint(text);
    Save(image, "render-text-labels");

    const QSize measured = MeasureText("Gotham", 14.9, "Hall 1", false);
    EXPECT_EQ(measured, MeasureText("Gotham", 14, "Hall 1", false)); // size truncated
    const QColor frame(127, 128, 127);
    EXPECT_EQ(OppositeColor(QColor(255, 0, 255)), frame);
    EXPECT_EQ(Extent(image, [&](const QColor& c) { return c == frame; }),
              QRect(10, 40 - measured.height(), measured.width() + 1, measured.height() + 1));
    const QRect ink = Extent(image, [](const QColor& c) { return c.red() > 200 && c.blue() > 200; });
    EXPECT_TRUE(QRect(10, 40 - measured.height(), measured.width() + 1, measured.height() + 1).contains(ink));
    EXPECT_GT(ink.width(), measured.width() / 2);
    // The second label is half transparent and has no frame.
    const QRect faint = Extent(image, [](const QColor& c) { return c.green() > 100 && c.red() < 50; });
    ASSERT_TRUE(faint.isValid());
    EXPECT_GT(faint.top(), 60);
    EXPECT_LE(faint.bottom(), 102);
    EXPECT_LE(qAlpha(image.pixel(faint.center())), 128);
}

TEST_F(PainterTest, TooltipBoxFitsItsLinesInBothThemes)
{
    struct Theme
    {
        const char* name;
        QColor text;
        QColor background;
    };
    for (const Theme& theme : {Theme{"light", QColor(20, 20, 20), QColor(248, 248, 248)},
                               Theme{"dark", QColor(248, 248, 248), QColor(36, 36, 36)}})
    {
        SCOPED_TRACE(theme.name);
        TooltipQP tooltip;
        EXPECT_FALSE(tooltip.IsOver());
        tooltip.SetText("X 12.50 m\nHeight -3.25 m");
        EXPECT_TRUE(tooltip.IsOver());
        tooltip.SetStyle("Gotham", 10, theme.text, theme.background);
        tooltip.SetPosition(20, 30);
        const QSize first = MeasureText("Gotham", 10, "X 12.50 m", true);
        const QSize second = MeasureText("Gotham", 10, "Height -3.25 m", true);
        const QSize size = tooltip.ComputeSize();
        EXPECT_EQ(size, QSize(std::max(first.width(), second.width()), first.height() + second.height()));

        const QImage image = Paint(tooltip);
        Save(image, QString("render-tooltip-%1").arg(theme.name));
        // Box: 3 pixels out from the text's corner, w + 6 wide, h + 7 high
        // (the outline adds a pixel on the right and bottom).
        const QRect box(17, 27, size.width() + 7, size.height() + 8);
        EXPECT_EQ(Extent(image, Painted), box);
        EXPECT_EQ(QColor::fromRgba(image.pixel(box.topLeft())), theme.text);
        EXPECT_EQ(QColor::fromRgba(image.pixel(box.bottomRight())), theme.text);
        EXPECT_EQ(QColor::fromRgba(image.pixel(box.left() + 1, box.bottom() - 1)), theme.background);
        // Text ink sits inside, the first line above the second's baseline.
        const auto isInk = [&](const QColor& c)
        { return std::abs(c.red() - theme.text.red()) < 60 && c.alpha() == 255; };
        const QImage inside = image.copy(box.adjusted(1, 1, -1, -1));
        const QRect ink = Extent(inside, isInk).translated(box.left() + 1, box.top() + 1);
        ASSERT_TRUE(ink.isValid());
        EXPECT_GE(ink.left(), 20);
        EXPECT_GE(ink.top(), 30);
        EXPECT_GT(ink.height(), first.height());
    }

    TooltipQP widest;
    widest.SetKeepWidestWidth(true, 0);
    widest.SetText("Distance 123.45 m");
    const int wide = widest.ComputeSize().width();
    widest.SetText("1");
    EXPECT_EQ(widest.ComputeSize().width(), wide);
    widest.SetKeepWidestWidth(false, 0);
    EXPECT_LT(widest.ComputeSize().width(), wide);

    TooltipQP empty;
    empty.SetStyle("Gotham", 10, Qt::black, Qt::white);
    empty.SetPosition(10, 10);
    EXPECT_EQ(Extent(Paint(empty), Painted).height(), 0 + 1 + 5 + 1);
}

TEST_F(PainterTest, SelectionBoxDrawsADashedRectangleOverTheScene)
{
    view::SelectionBoxEntity box;
    EXPECT_EQ(box.getName(), "Selection box");
    ASSERT_EQ(box.GetGeometries().size(), 1u);
    auto geometry = std::dynamic_pointer_cast<GeometryQP>(box.GetGeometries().front());
    ASSERT_TRUE(geometry);
    EXPECT_TRUE(geometry->IsOver());

    box.setColor(QColor(255, 0, 0));
    box.setStartPt({10, 20});
    EXPECT_FALSE(Extent(Paint(*geometry), Painted).isValid()); // end (0, 0): hidden
    box.setEndPt({150, 80});
    const QImage image = Paint(*geometry);
    Save(image, "render-selection-box");
    EXPECT_EQ(Extent(image, Painted), QRect(QPoint(10, 20), QPoint(150, 80)));
    // Along the top edge: 12 pixels drawn, 4 left out, repeating.
    for (int x = 10; x < 150; ++x)
        EXPECT_EQ(qAlpha(image.pixel(x, 20)) > 0, (x - 10) % 16 < 12) << x;

    box.setStartPt({150, 80});
    box.setEndPt({10, 20});
    EXPECT_EQ(Extent(Paint(*geometry), Painted), QRect(QPoint(10, 20), QPoint(150, 80)));

    box.setDirty(false);
    box.MarkShownIn(3);
    box.setColor(QColor(255, 0, 0));
    EXPECT_TRUE(box.isDirty());
    EXPECT_TRUE(box.NeedsDrawIn(3));
    EXPECT_EQ(box.property("endPt").toPoint(), QPoint(10, 20));
}
