#include "core/schedule/PlanText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace korvane;

TEST(PlanText, RoundTrip) {
    PlanItems items{};
    items[0] = {2024, 5, 6, 8, 30, 0, planmode::kDaily, 1, 11, planaction::kRecallTemplate, 3};
    items[1] = {2028, 15, 31, 31, 63, 63, 9, 511, 3, 7, 15};
    items[2] = {2013, 1, 1, 0, 0, 0, planmode::kIntervalContinuous, 480, 14, 0, 1};
    items[63] = {9999, 12, 31, 23, 59, 59, planmode::kOnce, 0, 31, 1, 10};

    const std::string text = formatPlanText(items);
    EXPECT_NE(text.find("\n0 每天 1 2024-05-06 08:30:00 执行模板 3 HDMI\n"), std::string::npos);
    EXPECT_NE(text.find("\n3 跳过 0 0000-00-00 00:00:00 切换通道 0 AV1\n"), std::string::npos);

    const PlanTextParse parsed = parsePlanText(text);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.items, items);
}

TEST(PlanText, AcceptsHandWrittenForms) {
    const PlanTextParse parsed = parsePlanText("\r\n  # my plan\r\n"
                                               "7\t24后失效  90 2024-5-6 8:0:0 切换通道 1 dvi\r\n"
                                               "2 6 1 2024-05-06 08:00:00 1 2 12");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.items[7], (PlanItem{2024, 5, 6, 8, 0, 0, 3, 90, 14, 0, 1}));
    EXPECT_EQ(parsed.items[2], (PlanItem{2024, 5, 6, 8, 0, 0, 6, 1, 12, 1, 2}));
    EXPECT_EQ(parsed.items[0], PlanItem{});
    EXPECT_EQ(parsed.items[63], PlanItem{});
}

TEST(PlanText, RejectsBadLinesWithTheirNumber) {
    const std::string good = "0 每天 1 2024-05-06 08:30:00 执行模板 3 HDMI";
    const struct {
        std::string line;
        std::string fault;
    } cases[] = {
        {"0 每天 1 2024-05-06 08:30:00 执行模板 3", "expected 8 fields, found 7"},
        {good + " extra", "expected 8 fields, found 9"},
        {"64 每天 1 2024-05-06 08:30:00 执行模板 3 HDMI", "slot '64'"},
        {"-1 每天 1 2024-05-06 08:30:00 执行模板 3 HDMI", "slot '-1'"},
        {"1 每周 1 2024-05-06 08:30:00 执行模板 3 HDMI", "unknown mode"},
        {"1 16 1 2024-05-06 08:30:00 执行模板 3 HDMI", "unknown mode"},
        {"1 每天 512 2024-05-06 08:30:00 执行模板 3 HDMI", "interval '512'"},
        {"1 每天 99999999999999999999 2024-05-06 08:30:00 执行模板 3 HDMI", "interval"},
        {"1 每天 1 2024/05/06 08:30:00 执行模板 3 HDMI", "date '2024/05/06'"},
        {"1 每天 1 2024-05 08:30:00 执行模板 3 HDMI", "date"},
        {"1 每天 1 2024-05-06-07 08:30:00 执行模板 3 HDMI", "date"},
        {"1 每天 1 2024--06 08:30:00 执行模板 3 HDMI", "date"},
        {"1 每天 1 10000-05-06 08:30:00 执行模板 3 HDMI", "year 10000"},
        {"1 每天 1 2024-16-06 08:30:00 执行模板 3 HDMI", "month 16"},
        {"1 每天 1 2024-05-32 08:30:00 执行模板 3 HDMI", "day 32"},
        {"1 每天 1 2024-05-06 08:30 执行模板 3 HDMI", "time '08:30'"},
        {"1 每天 1 2024-05-06 32:30:00 执行模板 3 HDMI", "hour 32"},
        {"1 每天 1 2024-05-06 08:64:00 执行模板 3 HDMI", "minute 64"},
        {"1 每天 1 2024-05-06 08:30:+1 执行模板 3 HDMI", "time"},
        {"1 每天 1 2024-05-06 08:30:00 加载 3 HDMI", "unknown action"},
        {"1 每天 1 2024-05-06 08:30:00 执行模板 16 HDMI", "template '16'"},
        {"1 每天 1 2024-05-06 08:30:00 执行模板 3 SDI", "unknown channel 'SDI'"},
        {"1 每天 1 2024-05-06 08:30:00 执行模板 3 32", "unknown channel '32'"},
        {"0 跳过 0 2013-00-00 00:00:00 切换通道 0 AV1", "slot 0 given twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const PlanTextParse parsed = parsePlanText("# header\n" + good + "\n\n" + c.line + "\n");
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.errorLine, 4u);
        EXPECT_EQ(parsed.error.rfind("line 4: ", 0), 0u) << parsed.error;
        EXPECT_NE(parsed.error.find(c.fault), std::string::npos) << parsed.error;
    }
}
