#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/design.h"
#include "app/program.h"
#include "fake_desktop.h"
#include "panel/label_painting.h"

namespace tessaryn {
namespace {

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr std::array<Rgb, 3> kFooterStops{kGrey, kWhite, kGrey};

std::uint8_t grey(Rgb c) {
    EXPECT_TRUE(c.r == c.g && c.g == c.b);
    return c.r;
}

TEST(Gradient, FooterBandsRunUpToWhiteAndBackInEightSteps) {
    const std::array<int, 8> expected{128, 159, 191, 223, 255, 224, 192, 160};
    for (int p = 0; p < 8; ++p) EXPECT_EQ(grey(gradient_colour(kFooterStops, p, 8)), expected[p]) << p;
}

TEST(Gradient, ShortAndDegenerateBands) {
    constexpr std::array<Rgb, 2> two{kBlack, kWhite};
    struct Case {
        std::span<const Rgb> stops;
        int position;
        int length;
        int expected;
    };
    const Case cases[] = {
        {kFooterStops, 0, 1, 128},  // step 0: always the first stop
        {kFooterStops, 0, 0, 128},
        {kFooterStops, 0, 2, 128},  // step 1: the stops themselves
        {kFooterStops, 1, 2, 255},
        {kFooterStops, 0, 3, 128},
        {kFooterStops, 1, 3, 255},
        {kFooterStops, 2, 3, 128},  // past the last interval: the last stop
        {kFooterStops, 4, 9, 255},  // step 4 with one pixel left over
        {kFooterStops, 8, 9, 128},
        {two, 0, 4, 0},
        {two, 1, 4, 63},
        {two, 3, 4, 191},
        {two, 0, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.stops.size() << " stops, position " << c.position << " of "
                                          << c.length);
        EXPECT_EQ(grey(gradient_colour(c.stops, c.position, c.length)), c.expected);
    }
    const Rgb red_to_blue = gradient_colour(std::array<Rgb, 2>{Rgb{255, 0, 10}, Rgb{0, 0, 255}}, 1, 4);
    EXPECT_EQ(red_to_blue, (Rgb{192, 0, 71}));  // each channel truncated on its own: 255 - 63, 10 + 61
}

struct RecordingCanvas final : Canvas {
    struct Fill {
        Rect area;
        Rgb colour;
        Rect clip;
        std::optional<std::array<Point, 4>> quad;
    };
    struct Text {
        Point origin;
        std::string text;
        std::optional<FontDesign> font;
        Rgb colour;
        Rect clip;
    };
    std::vector<Fill> fills;
    std::vector<Text> texts;
    std::vector<char> order;  // 'f' fill, 't' text
    std::int32_t height = 14;

    void fill_rect(const Rect& area, Rgb colour, const Rect& clip) override {
        fills.push_back({area, colour, clip, std::nullopt});
        order.push_back('f');
    }
    void fill_rect_in_quad(const Rect& area, Rgb colour, const Rect& clip,
                           const std::array<Point, 4>& corners) override {
        fills.push_back({area, colour, clip, corners});
        order.push_back('f');
    }
    std::int32_t line_height(const std::optional<FontDesign>&) override { return height; }
    void draw_text(Point origin, std::string_view text, const std::optional<FontDesign>& font, Rgb colour,
                   const Rect& clip) override {
        texts.push_back({origin, std::string(text), font, colour, clip});
        order.push_back('t');
    }
};

const LabelDesign& label_design(ControlId id) {
    return std::get<LabelDesign>(design().controls[static_cast<std::size_t>(id)].own);
}

TEST(FooterCaption, PaintsTheFrameThenTheBlackTextAreaThenTheGreenText) {
    RecordingCanvas canvas;
    const Rect whole{0, 0, 1104, 40};
    paint_label(canvas, label_design(标签1), {1104, 40}, whole, Rgb{1, 2, 3});

    ASSERT_EQ(canvas.fills.size(), 8u * 4 + 1);
    const std::array<int, 8> levels{128, 159, 191, 223, 255, 224, 192, 160};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const auto& top = canvas.fills[static_cast<std::size_t>(i)];
        EXPECT_EQ(top.area, (Rect{0, i, 1104, 1}));
        EXPECT_EQ(grey(top.colour), levels[i]);
        const auto& bottom = canvas.fills[static_cast<std::size_t>(8 + i)];
        EXPECT_EQ(bottom.area, (Rect{0, 32 + i, 1104, 1}));  // from the inner edge outwards
        EXPECT_EQ(grey(bottom.colour), levels[i]);
        const auto& left = canvas.fills[static_cast<std::size_t>(16 + i)];
        EXPECT_EQ(left.area, (Rect{i, 0, 1, 40}));
        EXPECT_EQ(grey(left.colour), levels[i]);
        ASSERT_TRUE(left.quad);
        EXPECT_EQ(*left.quad, (std::array<Point, 4>{Point{0, 0}, Point{0, 40}, Point{8, 32}, Point{8, 8}}));
        const auto& right = canvas.fills[static_cast<std::size_t>(24 + i)];
        EXPECT_EQ(right.area, (Rect{1096 + i, 0, 1, 40}));
        EXPECT_EQ(grey(right.colour), levels[i]);
        ASSERT_TRUE(right.quad);
        EXPECT_EQ(*right.quad,
                  (std::array<Point, 4>{Point{1096, 8}, Point{1096, 32}, Point{1104, 40}, Point{1104, 0}}));
        EXPECT_EQ(top.clip, whole);
    }
    const auto& background = canvas.fills.back();
    EXPECT_EQ(background.area, (Rect{8, 8, 1088, 24}));
    EXPECT_EQ(background.colour, kBlack);

    ASSERT_EQ(canvas.texts.size(), 1u);
    const auto& text = canvas.texts[0];
    EXPECT_EQ(text.origin, (Point{8, 8 + (24 - 14) / 2}));
    EXPECT_EQ(text.colour, (Rgb{0, 128, 0}));
    EXPECT_EQ(text.clip, (Rect{8, 8, 1088, 24}));
    EXPECT_FALSE(text.font);  // the default interface font
    EXPECT_EQ(text.text, label_design(标签1).text);
    EXPECT_EQ(canvas.order.back(), 't');
}

TEST(FooterCaption, PaintsOnlyInsideTheDirtyArea) {
    RecordingCanvas canvas;
    canvas.height = 30;  // taller than the text area: centring goes above its top
    const Rect dirty{1000, 4, 200, 10};
    paint_label(canvas, label_design(标签1), {1104, 40}, dirty, Rgb{});
    ASSERT_EQ(canvas.fills.size(), 33u);
    for (std::size_t band = 0; band < 32; ++band) EXPECT_EQ(canvas.fills[band].clip, dirty);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].clip, (Rect{1000, 8, 96, 6}));
    EXPECT_EQ(canvas.texts[0].origin, (Point{8, 8 + (24 - 30) / 2}));
    EXPECT_EQ(canvas.fills.back().area, (Rect{1000, 8, 96, 6}));
}

TEST(FooterCaption, ADirtyAreaInsideTheFrameOnlyRedrawsTheFrame) {
    RecordingCanvas canvas;
    paint_label(canvas, label_design(标签1), {1104, 40}, {100, 0, 50, 8}, Rgb{});
    EXPECT_EQ(canvas.fills.size(), 32u);
    EXPECT_TRUE(canvas.texts.empty());
}

TEST(SideCaption, FillsWithTheButtonFaceColourOfTheMomentAndDrawsRedBoldText) {
    RecordingCanvas canvas;
    canvas.height = 21;
    const Rgb face{236, 233, 216};
    paint_label(canvas, label_design(标签2), {72, 24}, {0, 0, 72, 24}, face);
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].area, (Rect{0, 0, 72, 24}));
    EXPECT_EQ(canvas.fills[0].colour, face);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].origin, (Point{0, 1}));
    EXPECT_EQ(canvas.texts[0].colour, (Rgb{255, 0, 0}));
    ASSERT_TRUE(canvas.texts[0].font);
    EXPECT_EQ(canvas.texts[0].font->char_height, 16);
    EXPECT_EQ(canvas.texts[0].font->weight, 700);
}

TEST(Painting, NothingIsDrawnForAnEmptyArea) {
    RecordingCanvas canvas;
    paint_label(canvas, label_design(标签1), {1104, 40}, {5, 5, 0, 10}, Rgb{});
    paint_label(canvas, label_design(标签2), {72, 24}, {5, 5, 10, 0}, Rgb{});
    EXPECT_TRUE(canvas.order.empty());
}

TEST(Painting, AFrameWiderThanHalfTheLabelMeetsInTheMiddleAndLeavesNoTextArea) {
    struct Case {
        Size size;
        int rows;     // the height of the top and bottom bands
        int columns;  // the width of the left and right bands
    };
    const Case cases[] = {{{10, 10}, 5, 5}, {{100, 9}, 4, 8}, {{3, 40}, 8, 1}, {{1, 1}, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.size.width << "x" << c.size.height);
        RecordingCanvas canvas;
        LabelDesign label = label_design(标签1);
        paint_label(canvas, label, c.size, {0, 0, c.size.width, c.size.height}, Rgb{});
        EXPECT_EQ(canvas.fills.size(), static_cast<std::size_t>(2 * c.rows + 2 * c.columns));
        EXPECT_TRUE(canvas.texts.empty());
        for (int i = 0; i < c.rows; ++i) {
            EXPECT_EQ(canvas.fills[static_cast<std::size_t>(i)].colour,
                      gradient_colour(kFooterStops, i, c.rows));
        }
        if (c.columns > 0) {
            const auto& left = canvas.fills[static_cast<std::size_t>(2 * c.rows)];
            const int w = c.size.width;
            const int h = c.size.height;
            EXPECT_EQ(*left.quad, (std::array<Point, 4>{Point{0, 0}, Point{0, h}, Point{c.columns, h - c.rows},
                                                         Point{c.columns, c.rows}}));
            const auto& right = canvas.fills[static_cast<std::size_t>(2 * c.rows + c.columns)];
            EXPECT_EQ(right.area.left, w - c.columns);
        }
    }
}

TEST(Painting, TheProgramPaintsLabelsAndNothingElse) {
    testing::FakeDesktop desktop;
    desktop.button_face = {10, 20, 30};
    Program program(desktop);
    RecordingCanvas canvas;
    program.on_paint(标签2, canvas, {0, 0, 72, 24});
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].colour, (Rgb{10, 20, 30}));
    program.on_paint(按钮1, canvas, {0, 0, 80, 32});
    program.on_paint(kControlCount, canvas, {0, 0, 80, 32});
    EXPECT_EQ(canvas.fills.size(), 1u);
}

}  // namespace
}  // namespace tessaryn
