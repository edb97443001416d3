// Renders small documents at a fixed width with the Liberation fonts and
// compares them with committed PNGs. On a mismatch the actual render is saved
// beside the expected one as NAME.actual.png; KVELO_UPDATE_GOLDEN=1 rewrites
// the expected files.
#include "LayoutTestSupport.h"

#include "platform/Cp1251.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace kvelo::layout {
namespace {

using namespace testing;

TMyFont face(const char* name, int halfPoints, uint8_t style = 0, TColor color = clBlack) {
    TMyFont font;
    font.Name = name;
    font.SizeHalfPoints = halfPoints;
    font.Style = style;
    font.Color = color;
    return font;
}

void addText(TSectionList& doc, const std::string& utf8, const TMyFont& font,
             TAlignment alignment = TAlignment::Left) {
    doc.Add(makeParagraph({cp1251::fromUtf8(utf8), alignment}, font));
}

QImage render(TSectionList& doc, int widthPx) {
    FontCache fonts;
    DocumentLayout layout(doc, fonts);
    layout.relayout(widthPx);
    QImage image(widthPx, layout.heightPx(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.paint(painter, image.rect(), {0, 0});
    return image;
}

void compareWithGolden(const QImage& actual, const std::string& name) {
    const QString expectedPath = QStringLiteral(KVELO_GOLDEN_DIR "/") +
                                 QString::fromStdString(name) + QStringLiteral(".png");
    const QString actualPath = QStringLiteral(KVELO_GOLDEN_DIR "/") + QString::fromStdString(name) +
                               QStringLiteral(".actual.png");
    if (qEnvironmentVariableIntValue("KVELO_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(actual.save(expectedPath));
        return;
    }
    const QImage expected = QImage(expectedPath).convertToFormat(QImage::Format_RGB32);
    const bool same = !expected.isNull() && expected == actual;
    if (!same) actual.save(actualPath);
    EXPECT_TRUE(same) << "render differs from " << expectedPath.toStdString() << "; see "
                      << actualPath.toStdString();
}

TEST(Golden, FormattedParagraphs) {
    TSectionList doc;
    addText(doc, "Закон о налогах", face("Times New Roman", 32, fsBold), TAlignment::Center);
    auto p = makeParagraph({cp1251::fromUtf8("Обычный текст, "), TAlignment::Justify},
                           face("Arial", 24));
    p->ChangeFont(face("Arial", 24, fsItalic | fsUnderline, RgbColor(0, 0, 200)));
    p->AppendText(cp1251::fromUtf8("подчёркнутый курсив"));
    p->ChangeFont(face("Arial", 24));
    p->AppendText(cp1251::fromUtf8(" и снова обычный текст, выровненный по ширине строки."));
    doc.Add(std::move(p));
    doc.Add(std::make_unique<THorzLine>());
    // Uzbek letters on the code points of є, і, ј in the title font.
    doc.Add(makeParagraph({"\xA2\xBA\xB3\xBC \xA1\xAA\xB2\xA3"},
                          face("Vazuri Times New Roman Uz", 28)));
    addText(doc, "  моноширинный  ", face("Courier New", 20));
    compareWithGolden(render(doc, 320), "paragraphs");
}

TEST(Golden, TableWithBordersAndShading) {
    TSectionList doc;
    auto table = std::make_unique<TRtfTable>();
    table->CellSpacingPx = 0;
    table->SpecifiedWidth = 100;
    table->WidthIsPercent = true;
    table->Alignment = TAlignment::Center;
    const char* texts[2][2] = {{"Номер", "Наименование документа"}, {"1", "Положение"}};
    for (auto& rowTexts : texts) {
        auto row = std::make_unique<TCellList>();
        for (const char* text : rowTexts) {
            auto cell = std::make_unique<TCellObj>();
            cell->BorderTop = cell->BorderLeft = cell->BorderRight = cell->BorderBottom = true;
            cell->Content.Add(makeParagraph({cp1251::fromUtf8(text)}, face("Arial", 20)));
            row->Cells.push_back(std::move(cell));
        }
        table->Rows.push_back(std::move(row));
    }
    table->Rows[0]->Cells[0]->Content.HasBackground = true;
    table->Rows[0]->Cells[0]->Content.Background = RgbColor(220, 220, 220);
    doc.Add(std::move(table));
    addText(doc, "После таблицы", face("Times New Roman", 24));
    compareWithGolden(render(doc, 300), "table");
}

TEST(Golden, SelectionIsDrawnInverted) {
    FontCache fonts;
    TSectionList doc;
    doc.Add(makeParagraph({"select me"}));
    doc.SelFirst = 0;
    doc.SelLast = 6;
    doc.Settings.BackgroundColor = RgbColor(255, 255, 255);
    DocumentLayout layout(doc, fonts);
    layout.relayout(200);
    QImage image(200, kMonoLinePx, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.paint(painter, image.rect(), {0, 0});
    painter.end();
    const auto darkShare = [&](int x0, int x1) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = x0; x < x1; ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return double(dark) / ((x1 - x0) * image.height());
    };
    EXPECT_GT(darkShare(0, 60), 0.6);  // "select": inverted
    EXPECT_LT(darkShare(70, 90), 0.4); // "me": black on white
    EXPECT_EQ(image.pixel(150, 5), qRgb(255, 255, 255));
}

} // namespace
} // namespace kvelo::layout
