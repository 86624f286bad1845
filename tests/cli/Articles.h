// Small articles for the front-end tests, UTF-8 with "\n" line breaks the
// way a file on disk has them.
#pragma once

#include <string_view>

namespace abrivo::cli::testing {

inline constexpr std::string_view kChineseTitle = "青石县开通首条城乡夜班公交线路";
inline constexpr std::string_view kChineseArticle =
    "本月起，青石县开通了首条连接县城与北部山区的夜班公交线路。"
    "这条线路全长三十六公里，沿途设有二十二个站点，末班车在晚上十一点从县城汽车站发出。\n"
    "县交通局的负责人介绍，开通夜班公交的想法来自去年的一次问卷调查。"
    "调查显示，在县城工厂上晚班的山区工人下班后往往只能搭乘私人的摩托车回家，"
    "既不安全，花费也不低。\n"
    "为了控制成本，夜班公交使用的是白天线路替换下来的中型电动客车，"
    "票价与白天相同，老年人和学生仍然可以享受半价。"
    "试运行的第一周，夜班公交平均每晚运送乘客一百四十多人次，比预计的多出近一倍。\n"
    "在电子厂上班的周女士说，以前下了晚班要在路口等很久，现在坐上公交四十分钟就能到家。"
    "县交通局表示，下一步将根据客流情况调整发车间隔，并考虑在南部乡镇开通第二条夜班线路。";

inline constexpr std::string_view kEnglishTitle =
    "Harbour Town Opens Late-Night Bus Route to the Hills";
inline constexpr std::string_view kEnglishArticle =
    "Harbour Town began running its first late-night bus route this week, linking the centre "
    "with the villages in the northern hills.\n"
    "The route is twenty-two miles long and has eighteen stops. The last bus leaves the central "
    "station at eleven in the evening, an hour after the evening shift ends at the two largest "
    "factories.\n"
    "Transport officers said the idea came from a survey of shift workers last spring. Many "
    "said they paid neighbours to drive them home or walked the last miles along unlit roads.\n"
    "To keep costs down, the council uses electric buses retired from daytime service. Fares "
    "are the same as during the day, and pensioners and students still travel at half price.\n"
    "In the first week the buses carried about one hundred and forty passengers a night, "
    "nearly twice the number the council expected. Officers will review the timetable in the "
    "autumn and may add a second route to the southern villages.";

// Traditional characters, all of them in Big5-HKSCS.
inline constexpr std::string_view kTraditionalTitle = "港灣小鎮啟用首座潮汐發電站";
inline constexpr std::string_view kTraditionalArticle =
    "港灣小鎮的首座潮汐發電站本週正式啟用，每年可為鎮上提供約三成的用電。\n"
    "這座發電站建在海灣入口，利用漲潮和退潮時的水位差推動渦輪。"
    "鎮長表示，興建工程歷時兩年，總投資約四億元。\n"
    "漁民起初擔心工程會影響魚群，但環保團體的調查顯示，海灣內的魚類數量並沒有明顯減少。\n"
    "鎮公所計劃明年在發電站旁設立展覽館，向學生介紹潮汐發電的原理，並開放市民參觀。";

}  // namespace abrivo::cli::testing
