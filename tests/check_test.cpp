// SPDX-License-Identifier: MIT
// zurconv --check end to end: a level with one planted mistake of each kind,
// read back through the JSON document; the mask's pixels; and that a check
// leaves every file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <set>
#include <span>

#include "engine/level/level_reader.h"
#include "tests/support/level_sources.h"
#include "tests/support/png_reader.h"
#include "tests/support/run_command.h"
#include "zur/palette.h"

namespace zur {
namespace {

using nlohmann::json;
using test::Colour;
using test::CommandOutput;
using test::TempDir;
using test::TgaBuilder;

CommandOutput zurconv(const TempDir& dir, const std::vector<std::string>& arguments) {
  return test::run_command(ZURCONV_PATH, arguments, dir.path());
}

// The smallest file the check takes for a JPEG of this size: start of image,
// a baseline frame header, end of image.
std::string jpeg(int width, int height) {
  std::string bytes = "\xFF\xD8\xFF\xC0";
  for (int byte : {0, 17, 8, height >> 8, height & 255, width >> 8, width & 255, 3}) {
    bytes += static_cast<char>(byte);
  }
  for (int component = 1; component <= 3; ++component) bytes += {char(component), 0x11, 0};
  return bytes + "\xFF\xD9";
}

std::string lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

const Colour kGrass = {0, 152, 0};
const Colour kAntiAliased = {0, 151, 0};
const Colour kGreyish = {60, 60, 60};
Colour marker(std::uint8_t blue) {
  return {3, 0, blue};
}

struct Marker {
  int x, y, kind;
};

// The planted level: every config mistake at a known line, illegal colours,
// touching markers, more markers than a level holds, a level picture of the
// wrong size and a parallax picture that is not a JPEG.
struct PlantedLevel {
  std::string config;
  TgaBuilder map{64, 80, kGrass};
  std::vector<Marker> markers;  // in scan order

  PlantedLevel() {
    std::vector<std::string> text = {
        "; planted mistakes",
        "/MAKER",
        std::string(130, 'M'),  // 3 text-cut
        "/EMAIL",
        "e@example.org",
        "/PARA",
        "y",  // 7 bad-yes-no
        "/CIVIL",
        "300",  // 9 number-out-of-range
        "/BOMB",
        "12abc",  // 11 bad-number
        "/WATERC",
        "80,90",  // 13 bad-triple
        "/DISABLERUN",
        "no",
        "/GRAVITY",
        "95",  // 17 number-out-of-range
        "/RESISTANCE",
        "1000",
        "/COLLDAMAGE",
        "1000",
        "/BOUNCING ",  // 22 keyword-trailing-space
        "1000",
        "/AMBIENT",
        "0",
        "/PARALLAXAT",
        "0",
        "/GGLEVEL",
        "no",
        "/GGTHEME",
        "*",
        "/GGSHAPE",
        "yes",
        "/REPAIR",
        "10",
        "/STUFFD",
        "10",
        "/SIGND",
        "10",
        "/SPEED",
        "5",  // 40 unknown-keyword
        "/PARA",
        "yes",                  // 42 duplicate-keyword
        std::string(170, '-'),  // 44 long-line
    };
    text.insert(text.end(), {"/SIGNTEXT1", "a sign longer than fifteen"});  // 46 text-cut
    for (int sign = 2; sign <= 16; ++sign) text.insert(text.end(), {"/SIGNTEXT1", "sign"});
    text.insert(text.end(), {"/SIGNTEXT2", "one,too many",  // 78 too-many-signs
                             "/SIGNTEXT2", "no comma",      // 80 bad-sign-pair
                             "/RANDOMSEED", "",             // 82 empty-value
                             "/COLLDAMAGE", "1000"});
    config = lines(text);

    map.set(10, 2, kAntiAliased).set(11, 2, kAntiAliased).set(3, 5, kGreyish);
    // Touching same kind: a horizontal and a vertical pair. Not touching: a
    // diagonal pair, and two kinds side by side.
    place(20, 10, 140), place(21, 10, 140), place(30, 10, 120), place(30, 11, 120);
    place(40, 10, 230), place(41, 11, 230), place(50, 10, 140), place(51, 10, 190);
    // A mine field, no two markers touching, past the object limit.
    for (int y = 20; y < 80; ++y) {
      for (int x = y % 2; x < 64; x += 2) place(x, y, 230);
    }
    std::sort(markers.begin(), markers.end(), [](const Marker& a, const Marker& b) {
      return std::tie(a.y, a.x) < std::tie(b.y, b.x);
    });
  }

  void place(int x, int y, std::uint8_t blue) {
    map.set(x, y, marker(blue));
    const std::map<int, int> kinds = {{230, 0}, {120, 1}, {180, 2}, {140, 3}, {190, 4}};
    markers.push_back({x, y, kinds.at(blue)});
  }

  void write(const TempDir& dir) const {
    dir.write("level.TXT", config);
    dir.write("level.JPG", jpeg(100, 50));
    dir.write("levelP.JPG", std::string("GIF89a"));
    map.save(dir.path() / "level.TGA");
  }
};

// code -> the places it was reported at: "line N" or "x,y" or "-".
std::multimap<std::string, std::string> places(const json& level) {
  std::multimap<std::string, std::string> found;
  for (const json& problem : level["problems"]) {
    std::string place = "-";
    if (!problem["line"].is_null()) place = "line " + std::to_string(problem["line"].get<int>());
    if (!problem["x"].is_null()) {
      place =
          std::to_string(problem["x"].get<int>()) + "," + std::to_string(problem["y"].get<int>());
    }
    found.emplace(problem["code"], place);
  }
  return found;
}

TEST(Check, FindsEveryPlantedMistakeAtItsPlace) {
  TempDir dir;
  const PlantedLevel planted;
  planted.write(dir);
  const CommandOutput run = zurconv(dir, {"--check", "--json", "level"});
  EXPECT_EQ(run.status, 1);
  const json level = json::parse(run.out)["levels"].at(0);
  EXPECT_EQ(level["ok"], false);

  const std::multimap<std::string, std::string> expected = {
      {"text-cut", "line 3"},
      {"bad-yes-no", "line 7"},
      {"number-out-of-range", "line 9"},
      {"bad-number", "line 11"},
      {"bad-triple", "line 13"},
      {"number-out-of-range", "line 17"},
      {"keyword-trailing-space", "line 22"},
      {"unknown-keyword", "line 40"},
      {"duplicate-keyword", "line 42"},
      {"long-line", "line 44"},
      {"text-cut", "line 46"},
      {"too-many-signs", "line 78"},
      {"bad-sign-pair", "line 80"},
      {"empty-value", "line 82"},
      {"missing-keyword", "-"},  // BOUNCING: its keyword line has a blank
      {"missing-keyword", "-"},  // RANDOMSEED: its value line is empty
      {"illegal-colours", "10,2"},
      {"illegal-colours", "3,5"},
      {"marker-block", "20,10"},
      {"objects-dropped",
       std::to_string(planted.markers[1024].x) + "," + std::to_string(planted.markers[1024].y)},
      {"picture-size-mismatch", "-"},
      {"not-a-jpeg", "-"},
  };
  EXPECT_EQ(places(level), expected);

  const std::map<std::string, std::string> map_and_pictures = {
      {"illegal-colours", "level.TGA"},
      {"marker-block", "level.TGA"},
      {"objects-dropped", "level.TGA"},
      {"picture-size-mismatch", "level.JPG"},
      {"not-a-jpeg", "levelP.JPG"}};
  for (const json& problem : level["problems"]) {
    const std::string code = problem["code"];
    const bool error = code == "illegal-colours" || code == "not-a-jpeg";
    EXPECT_EQ(problem["severity"], error ? "error" : "warning") << code;
    const auto file = map_and_pictures.find(code);
    EXPECT_EQ(problem["file"], file == map_and_pictures.end() ? "level.TXT" : file->second) << code;
  }
  EXPECT_EQ(level["map"], json({{"width", 64}, {"height", 80}, {"top_down", true}}));

  const json& illegal = level["illegal_colours"];
  EXPECT_EQ(illegal["pixels"], 3);
  ASSERT_EQ(illegal["colours"].size(), 2u);
  EXPECT_EQ(illegal["colours"][0], json::parse(R"({"red": 0, "green": 151, "blue": 0, "pixels": 2,
                "first": {"x": 10, "y": 2},
                "nearest": {"code": 1, "red": 0, "green": 152, "blue": 0}})"));
  EXPECT_EQ(illegal["colours"][1]["nearest"]["code"], 31);  // (58, 78, 55)

  std::array<int, 5> by_kind{};
  for (std::size_t i = 0; i < 1024; ++i) ++by_kind[planted.markers[i].kind];
  EXPECT_EQ(level["objects"]["count"], 1024);
  EXPECT_EQ(level["objects"]["dropped"], planted.markers.size() - 1024);
  EXPECT_EQ(level["objects"]["by_kind"], json(by_kind));
  const json& list = level["objects"]["list"];
  ASSERT_EQ(list.size(), 1024u);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Marker& m = planted.markers[i];
    const json& object = list[i];
    EXPECT_EQ(json({object["x"], object["y"], object["kind"]}), json({m.x, m.y, m.kind})) << i;
  }
}

// Maps of random marker runs, some past the object limit, some stored
// bottom-up: the check lists exactly the objects the converted level file
// holds, in its order.
TEST(Check, ListsTheObjectsTheConversionStores) {
  const std::span<const MarkerKindColour> kinds = marker_kind_colours();
  std::mt19937 random(20261209);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const struct {
    int width, height, runs;
    std::uint8_t descriptor;
  } cases[] = {{1, 1, 0, 32}, {7, 5, 6, 0}, {40, 30, 300, 32}, {64, 64, 900, 0}, {50, 40, 700, 32}};
  int dropped = 0;
  for (const auto& c : cases) {
    const std::string row = std::to_string(c.width) + "x" + std::to_string(c.height);
    TgaBuilder map(c.width, c.height);
    map.descriptor(c.descriptor);
    for (int run = 0; run < c.runs; ++run) {
      const Colour colour = {static_cast<std::uint8_t>(below(256)),
                             static_cast<std::uint8_t>(below(256)),
                             kinds[std::size_t(below(int(kinds.size())))].blue};
      const int x = below(c.width), y = below(c.height);
      for (int i = 0, length = 1 + below(4); i < length && x + i < c.width; ++i) {
        map.set(x + i, y, colour);
      }
    }
    TempDir dir;
    test::write_level(dir, "level", map);
    const json objects =
        json::parse(zurconv(dir, {"--check", "--json", "level"}).out)["levels"].at(0)["objects"];
    ASSERT_EQ(zurconv(dir, {"level"}).status, 0) << row;
    const std::vector<std::uint8_t> file = dir.read("level.lev");
    const LevelContents level = read_level(file);
    json stored = json::array();
    for (const PlacedObject& object : level.objects) {
      const ObjectRecord& r = object.record;
      stored.push_back({{"x", r.x}, {"y", r.y}, {"kind", r.kind}, {"parameters", r.parameters}});
    }
    EXPECT_EQ(objects["list"], stored) << row;
    EXPECT_EQ(objects["count"], level.objects.size()) << row;
    dropped += objects["dropped"].get<int>();
  }
  EXPECT_GT(dropped, 0) << "no map went past the object limit";
}

TEST(Check, ProblemsOfOtherLevels) {
  const struct {
    const char* name;
    std::map<std::string, std::string> files;
    std::multiset<std::string> codes;
  } cases[] = {
      {"nothing there", {}, {"source-missing", "source-missing", "source-missing"}},
      {"keyword on the last line",
       {{"level.TXT", test::complete_config() + "/SIGNTEXT1\n"}},
       {"missing-value"}},
      {"level picture not a JPEG", {{"level.JPG", "\xFF\xD8 text"}}, {"not-a-jpeg"}},
      {"run-length TGA", {{"type", "10"}}, {"tga-format"}},
      // Read shifted, the fields' bytes would make illegal colours.
      {"image-ID field and colour map", {{"id", "4"}}, {"tga-id-field", "tga-id-field"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (c.files.empty()) {
      dir.write("other", "");
    } else {
      TgaBuilder map(20, 20);
      if (c.files.count("type")) map.image_type(10);
      if (c.files.count("id")) map.id_length(4).colour_map(3, 24);
      test::write_level(dir, "level", map);
      dir.write("level.JPG", jpeg(20, 20));
      for (const auto& [name, contents] : c.files) {
        if (name.find('.') != std::string::npos) dir.write(name, contents);
      }
    }
    const CommandOutput run = zurconv(dir, {"--check", "--json", "level"});
    std::multiset<std::string> codes;
    const json document = json::parse(run.out);
    for (const json& problem : document["levels"][0]["problems"]) {
      codes.insert(problem["code"].get<std::string>());
    }
    EXPECT_EQ(codes, c.codes) << c.name;
  }
}

struct Rgb8 {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb8&) const = default;
};

std::vector<Rgb8> read_png(const TempDir& dir, const std::string& name, int& width, int& height) {
  const std::optional<test::RgbPicture> picture = test::decode_png(dir.read(name));
  if (!picture) return {};
  width = static_cast<int>(picture->width);
  height = static_cast<int>(picture->height);
  std::vector<Rgb8> pixels;
  for (std::size_t at = 0; at + 2 < picture->rgb.size(); at += 3) {
    pixels.push_back({picture->rgb[at], picture->rgb[at + 1], picture->rgb[at + 2]});
  }
  return pixels;
}

TEST(Check, MaskShowsIllegalPixelsAndMarkers) {
  TempDir dir;
  const PlantedLevel planted;
  planted.write(dir);
  const CommandOutput run = zurconv(dir, {"--check", "--mask", "-q", "level"});
  EXPECT_EQ(run.status, 1);
  int width = 0, height = 0;
  const std::vector<Rgb8> mask = read_png(dir, "level-check.png", width, height);
  ASSERT_EQ(width, 64);
  ASSERT_EQ(height, 80);
  const auto at = [&](int x, int y) { return mask[static_cast<std::size_t>(y * width + x)]; };
  const Rgb8 kMagenta = {255, 0, 255};
  EXPECT_EQ(std::count(mask.begin(), mask.end(), kMagenta), 3);
  for (const auto& [x, y] : {std::pair{10, 2}, {11, 2}, {3, 5}}) EXPECT_EQ(at(x, y), kMagenta);
  const Rgb8 grass = at(0, 0);
  EXPECT_TRUE(grass.red == grass.green && grass.green == grass.blue);
  // One colour per kind, none grey.
  EXPECT_EQ(at(20, 10), at(50, 10));
  EXPECT_NE(at(20, 10), at(51, 10));
  EXPECT_NE(at(20, 10), at(30, 10));
  for (const Marker& m : planted.markers) EXPECT_FALSE(at(m.x, m.y) == grass);
}

// Runs of every length from 1 to 36 pixels, of two legal colours in turn,
// each row starting at another point of the sequence: the mask shows each
// run of the map as a run of its colour's mask colour, no pixel more or less.
TEST(Check, MaskPaintsEachRunOfTheMapExactly) {
  const Colour kBlack = {0, 0, 0}, kWhite = {255, 255, 255};
  std::vector<bool> white;
  for (int length = 1; length <= 36; ++length) white.insert(white.end(), length, length % 2 == 0);
  const int width = static_cast<int>(white.size()), height = 5;
  TgaBuilder map(width, height);
  const auto is_white = [&](int x, int y) {
    return white[static_cast<std::size_t>((x + 7 * y) % width)];
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) map.set(x, y, is_white(x, y) ? kWhite : kBlack);
  }
  TempDir dir;
  dir.write("level.TXT", "/GGLEVEL\nno\n");
  map.save(dir.path() / "level.TGA");
  zurconv(dir, {"--check", "--mask", "-q", "level"});
  int mask_width = 0, mask_height = 0;
  const std::vector<Rgb8> mask = read_png(dir, "level-check.png", mask_width, mask_height);
  ASSERT_EQ(mask_width, width);
  ASSERT_EQ(mask_height, height);
  // The first run is black, the second white.
  const Rgb8 black = mask[0], shown_white = mask[1];
  ASSERT_NE(black, shown_white);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      EXPECT_EQ(mask[static_cast<std::size_t>(y * width + x)], is_white(x, y) ? shown_white : black)
          << "x=" << x << " y=" << y;
    }
  }
}

struct FileState {
  std::vector<std::uint8_t> bytes;
  std::filesystem::file_time_type modified;
  bool operator==(const FileState&) const = default;
};

FileState state(const TempDir& dir, const std::string& name) {
  return {dir.read(name), std::filesystem::last_write_time(dir.path() / name)};
}

TEST(Check, NeverTouchesALevelFileOrTheSources) {
  TempDir dir;
  PlantedLevel().write(dir);
  dir.write("level.lev", std::string("an earlier level file"));
  std::filesystem::last_write_time(
      dir.path() / "level.lev",
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  const std::vector<std::string> names = {"level.lev", "level.TXT", "level.TGA", "level.JPG"};
  std::vector<FileState> before;
  for (const std::string& name : names) before.push_back(state(dir, name));
  zurconv(dir, {"--check", "--json", "-y", "level"});
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(state(dir, names[i]), before[i]) << names[i];

  TempDir fresh;
  PlantedLevel().write(fresh);
  zurconv(fresh, {"--check", "level"});
  EXPECT_FALSE(fresh.exists("level.lev"));
}

TEST(Check, LinesSummaryQuietStrictAndExitStatus) {
  TempDir dir;
  test::write_level(dir, "clean", TgaBuilder(20, 20));
  dir.write("clean.JPG", jpeg(20, 20));
  test::write_level(dir, "warned", TgaBuilder(20, 20), test::complete_config({{"CIVIL", "300"}}));
  dir.write("warned.JPG", jpeg(20, 20));
  const std::string warning =
      "warned.TXT:9: warning: /CIVIL value \"300\" does not fit 0 to 255: stored 44 "
      "[number-out-of-range]\n";

  const CommandOutput both = zurconv(dir, {"--check", "clean", "warned.txt"});
  EXPECT_EQ(both.out, "clean: 0 errors, 0 warnings\n" + warning + "warned: 0 errors, 1 warning\n");
  EXPECT_EQ(both.status, 0);
  EXPECT_EQ(zurconv(dir, {"--check", "--strict", "warned"}).status, 1);
  EXPECT_EQ(zurconv(dir, {"--check", "--strict", "clean"}).status, 0);
  EXPECT_EQ(zurconv(dir, {"--check", "-q", "warned"}).out, "");
  const json strict = json::parse(zurconv(dir, {"--check", "--json", "--strict", "warned"}).out);
  EXPECT_EQ(strict["levels"][0]["ok"], false);
  EXPECT_EQ(strict["levels"][0]["problems"][0]["severity"], "warning");
}

TEST(Check, JsonStaysValidForBytesThatAreNotUtf8) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(20, 20), "/M\xFF\xFEKER\n" + test::complete_config());
  const CommandOutput run = zurconv(dir, {"--check", "--json", "level"});
  const json document = json::parse(run.out);  // throws on invalid UTF-8
  EXPECT_NE(run.out.find("/M\xEF\xBF\xBD"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace zur
