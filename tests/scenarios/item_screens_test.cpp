// The item on the demo device as a person sees it: each screen size with 1
// to 4 columns, sizes and dates asked for, and more documents than cells.
// Set PELLORAN_SCREENSHOTS to a folder to keep the pictures.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gdi/png.h"
#include "sim_device.h"

namespace {

namespace fs = std::filesystem;
using scenario_testing::Json;

class ItemScreens : public scenario_testing::SimDeviceTest {
   protected:
    // The item window of the dump and the texts its last paint drew.
    Json Item(const Json &dump) {
        std::vector<Json> stack(dump["windows"].begin(), dump["windows"].end());
        while (!stack.empty()) {
            Json w = stack.back();
            stack.pop_back();
            if (w.value("class", "") == "PelloranWindow") return w;
            for (const Json &c : w["children"]) stack.push_back(c);
        }
        return Json();
    }
};

// The name whole, or its first characters followed by "..." in a narrow cell.
bool HasName(const std::vector<std::string> &texts, const std::string &name) {
    for (const std::string &t : texts) {
        if (t == name) return true;
        if (t.size() > 3 && t.compare(t.size() - 3, 3, "...") == 0 && name.rfind(t.substr(0, t.size() - 3), 0) == 0)
            return true;
    }
    return false;
}

TEST_F(ItemScreens, DemoDocumentsOnEachScreenWithOneToFourColumns) {
    const char *profiles[][3] = {{"qvga", "240", "320"}, {"vga", "480", "640"}, {"qvga-landscape", "320", "240"}};
    const COLORREF theme = RGB(49, 130, 206);
    const char *keep = std::getenv("PELLORAN_SCREENSHOTS");
    for (const auto &profile : profiles) {
        for (int cols = 1; cols <= 4; ++cols) {
            SCOPED_TRACE(std::string(profile[0]) + ", " + std::to_string(cols) + " columns");
            root = device.Root() / (std::string(profile[0]) + "-" + std::to_string(cols));
            ASSERT_EQ(Run(std::string(PELLORAN_SIM) + " --device '" + root.string() + "' init --profile " + profile[0]),
                      0)
                << output;
            // Fourteen documents: more than the twelve cells of 3 rows of 4.
            // Their dates are fixed so that the pictures repeat.
            int day = 0;
            for (const char *name :
                 {"Agenda.txt", "Ideas.pwi", "Invoice.pxl", "Packing.txt", "Recipes.psw", "Zoo.txt"}) {
                fs::path file = root / "fs" / "My Documents" / name;
                std::ofstream(file) << "some text";
                using namespace std::chrono;
                sys_days date = year{2006} / (1 + day % 12) / (3 + 4 * day);
                ++day;
                sys_seconds noon = date + hours(12);
                fs::last_write_time(file, file_clock::from_sys(noon));
            }
            SetDword("Cols", cols);
            SetDword("Rows", 3);
            SetDword("ShowSize", 1);
            SetDword("ShowDate", 1);
            ASSERT_EQ(Run(std::string(PELLORAN_SIM) + " --device '" + root.string() + "' --script '" + SCENARIO_DIR +
                          "/item_screens.txt'"),
                      0)
                << output;

            std::string error;
            auto image = wince::ReadPng((root / "screen.png").string(), &error);
            ASSERT_TRUE(image) << error;
            EXPECT_EQ(image->Width(), std::stoi(profile[1]));
            EXPECT_EQ(image->Height(), std::stoi(profile[2]));
            std::ifstream in(root / "screen.json");
            Json item = Item(Json::parse(in));
            ASSERT_FALSE(item.is_null());
            std::vector<std::string> texts;
            for (const Json &t : item["drawnText"]) texts.push_back(t.value("text", ""));

            // Names from the first document on, shortened in narrow cells;
            // sizes up to 2 columns, dates only in one, each drawn whole.
            ASSERT_FALSE(texts.empty());
            EXPECT_TRUE(HasName(texts, "Agenda"));
            EXPECT_TRUE(HasName(texts, "Budget"));
            EXPECT_EQ(Has(texts, "13.0B"), cols <= 2) << "Budget.pxl's size";
            EXPECT_EQ(Has(texts, "2/1/2006"), cols == 1) << "Budget.pxl's date";
            EXPECT_EQ(Has(texts, "9.00B"), cols <= 2) << "Agenda.txt's size";

            // The strip in the theme colour at the item's right, the folder
            // icon at its left.
            auto rect = item["rect"];
            int left = rect[0], top = rect[1], right = rect[2], bottom = rect[3];
            int strip = 0, icon = 0;
            COLORREF background = image->Pixel(left + 20, bottom - 1);
            for (int y = top; y < bottom; ++y) {
                for (int x = right - 32; x < right; ++x) strip += image->Pixel(x, y) == theme;
                for (int x = left; x < left + 20; ++x) icon += image->Pixel(x, y) != background;
            }
            EXPECT_GT(strip, 20);
            EXPECT_GT(icon, 20);
            if (keep) {
                fs::create_directories(keep);
                fs::copy_file(root / "screen.png",
                              fs::path(keep) / (std::string(profile[0]) + "-" + std::to_string(cols) + "col.png"),
                              fs::copy_options::overwrite_existing);
            }
        }
    }
}

}  // namespace
