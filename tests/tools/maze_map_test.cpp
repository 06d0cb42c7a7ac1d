// mazewalk-map: the PNG it writes decodes and shows the level's walls where
// they are and nowhere else, the start with its arrow pointing up, and a level
// that does not load is reported in the loader's words.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "ToolsTestSupport.h"
#include "tools/map/MazeMap.h"

namespace {

// A decoded picture, converted to one known pixel layout.
class Picture {
  public:
    explicit Picture(const std::filesystem::path& png) {
        SurfacePtr loaded(IMG_Load(png.string().c_str()));
        if (loaded) {
            Pixels.reset(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0));
        }
    }

    bool Decoded() const { return Pixels != nullptr; }
    int Width() const { return Pixels->w; }
    int Height() const { return Pixels->h; }

    SDL_Color At(int x, int y) const {
        const auto* row = static_cast<const Uint8*>(Pixels->pixels) + y * Pixels->pitch;
        const Uint8* p = row + 4 * x;
        return SDL_Color{p[0], p[1], p[2], p[3]};
    }

  private:
    SurfacePtr Pixels;
};

bool Same(SDL_Color a, SDL_Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::string Describe(SDL_Color c) {
    // Appended piece by piece: "(" + std::to_string(...) trips GCC 12's
    // -Wrestrict false positive inside libstdc++ in a Release build.
    std::string text = "(";
    text += std::to_string(c.r);
    text += ", ";
    text += std::to_string(c.g);
    text += ", ";
    text += std::to_string(c.b);
    text += ")";
    return text;
}

// The map of a generated maze, drawn by the tool as a process.
struct MappedMaze {
    std::unique_ptr<Module1> State;
    MapLayout Layout;
    std::unique_ptr<Picture> Png;
};

MappedMaze MapMaze(int size, std::uint32_t seed, int scale, const std::filesystem::path& folder) {
    MappedMaze mapped;
    const std::string text = MazeText(size, seed);
    WriteFile(folder / "torv-2.dat", text);
    const auto result =
        RunTool(std::string(MAZEWALK_MAP) + " " + Quoted(folder / "torv-2.dat") + " -o " +
                    Quoted(folder / "map.png") + " --scale " + std::to_string(scale),
                folder);
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    mapped.State = LoadText(text);
    std::string error;
    const auto layout = LayoutMap(*mapped.State, scale, error);
    EXPECT_TRUE(layout.has_value()) << error;
    if (layout) {
        mapped.Layout = *layout;
    }
    mapped.Png = std::make_unique<Picture>(folder / "map.png");
    return mapped;
}

class MapOfMaze : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(MapOfMaze, ShowsWallColourExactlyOnTheWalls) {
    const auto [size, scale] = GetParam();
    const auto folder = TestFolder();
    const MappedMaze m = MapMaze(size, 11, scale, folder);
    ASSERT_TRUE(m.Png->Decoded()) << IMG_GetError();
    ASSERT_EQ(m.Png->Width(), m.Layout.Width);
    ASSERT_EQ(m.Png->Height(), m.Layout.Height);

    const LoadedMaze maze = ReadBack(*m.State);
    // Every cell side's midpoint: wall colour if and only if the level has a
    // wall there.
    int walls = 0;
    int gaps = 0;
    for (int x = maze.MinX; x <= maze.MaxX; ++x) {
        for (int y = maze.MinY; y <= maze.MaxY; ++y) {
            const bool acrossSide = (x - maze.MinX) % 2 == 1 && (y - maze.MinY) % 2 == 0;
            const bool alongSide = (x - maze.MinX) % 2 == 0 && (y - maze.MinY) % 2 == 1;
            if (!acrossSide && !alongSide) {
                continue;
            }
            const bool wall =
                acrossSide ? maze.Across.count({x, y}) != 0 : maze.Along.count({x, y}) != 0;
            const SDL_Color seen = m.Png->At(m.Layout.PixelX(x), m.Layout.PixelY(y));
            EXPECT_EQ(Same(seen, MapWallColour), wall)
                << "side at (" << x << ", " << y << ") is " << Describe(seen);
            (wall ? walls : gaps) += 1;
        }
    }
    EXPECT_EQ(walls, m.State->WallCount);
    EXPECT_EQ(gaps, size * size - 1);
    // Cell centres away from the start are never wall colour.
    for (int x = maze.MinX + 1; x < maze.MaxX; x += 2) {
        for (int y = maze.MinY + 1; y < maze.MaxY; y += 2) {
            EXPECT_FALSE(Same(m.Png->At(m.Layout.PixelX(x), m.Layout.PixelY(y)), MapWallColour));
        }
    }
}

TEST_P(MapOfMaze, MarksTheStartWithAnArrowPointingUp) {
    const auto [size, scale] = GetParam();
    const auto folder = TestFolder();
    const MappedMaze m = MapMaze(size, 11, scale, folder);
    ASSERT_TRUE(m.Png->Decoded()) << IMG_GetError();
    const int x = m.Layout.PixelX(0);
    EXPECT_TRUE(Same(m.Png->At(x, m.Layout.PixelY(0)), MapStartColour));
    // The arrow runs toward +y, which is up: marked above the start node, not
    // below it.
    const int above = m.Layout.PixelY(0) - (scale * 7 + 5) / 10;
    const int below = m.Layout.PixelY(0) + (scale * 7 + 5) / 10;
    EXPECT_TRUE(Same(m.Png->At(x, above), MapStartColour));
    EXPECT_FALSE(Same(m.Png->At(x, below), MapStartColour));
    // Nowhere else: the marker stays within the start cell.
    int marked = 0;
    for (int py = 0; py < m.Png->Height(); ++py) {
        for (int px = 0; px < m.Png->Width(); ++px) {
            if (Same(m.Png->At(px, py), MapStartColour)) {
                ++marked;
                EXPECT_LE(std::abs(px - x), scale);
                EXPECT_LE(std::abs(py - m.Layout.PixelY(0)), scale);
            }
        }
    }
    EXPECT_GT(marked, 0);
}

INSTANTIATE_TEST_SUITE_P(SizesAndScales, MapOfMaze,
                         ::testing::Values(std::make_tuple(2, 16), std::make_tuple(7, 4),
                                           std::make_tuple(LargestMazeSize, 8),
                                           std::make_tuple(12, 33)));

TEST(MazeMap, NorthIsUpAndEastIsRight) {
    // One wall straight ahead at depth 2 (flag A of node (10, 12)) and one
    // along the view 3 to the right (flag B of node (13, 10)).
    std::string level = "13\n";
    for (int i = 0; i <= 13; ++i) {
        for (int j = 0; j <= 13; ++j) {
            level += (i == 10 && j == 12) ? "1," : "0,";
            level += (i == 13 && j == 10) ? "1\n" : "0\n";
        }
    }
    const auto state = LoadText(level);
    ASSERT_EQ(state->WallCount, 2);
    std::string error;
    const auto layout = LayoutMap(*state, 10, error);
    ASSERT_TRUE(layout.has_value()) << error;
    const SurfacePtr map = DrawMap(*state, *layout, error);
    ASSERT_TRUE(map) << error;
    const auto folder = TestFolder();
    ASSERT_EQ(IMG_SavePNG(map.get(), (folder / "map.png").string().c_str()), 0) << IMG_GetError();
    const Picture png(folder / "map.png");
    ASSERT_TRUE(png.Decoded());

    const int startX = layout->PixelX(0);
    const int startY = layout->PixelY(0);
    EXPECT_EQ(layout->PixelY(2), startY - 20);
    EXPECT_EQ(layout->PixelX(3), startX + 30);
    EXPECT_TRUE(Same(png.At(startX, startY - 20), MapWallColour));
    EXPECT_TRUE(Same(png.At(startX + 30, startY), MapWallColour));
    EXPECT_FALSE(Same(png.At(startX, startY + 20), MapWallColour));
    EXPECT_FALSE(Same(png.At(startX - 30, startY), MapWallColour));
}

TEST(MazeMap, PicturesTooLargeAreRefusedAndTheDefaultScaleShrinksToFit) {
    // Walls at the far corner of the loader's largest grid.
    std::string level = "1000\n";
    level.reserve(level.size() + 1001 * 1001 * 4);
    for (int i = 0; i <= 1000; ++i) {
        for (int j = 0; j <= 1000; ++j) {
            level += (i == 1000 && j == 1000) ? "1,1\n" : "0,0\n";
        }
    }
    const auto state = LoadText(level);
    std::string error;
    EXPECT_FALSE(LayoutMap(*state, 16, error).has_value());
    EXPECT_NE(error.find("use a smaller scale"), std::string::npos) << error;
    const auto fitted = LayoutMap(*state, 0, error);
    ASSERT_TRUE(fitted.has_value()) << error;
    EXPECT_LE(fitted->Width, LargestMapSide);
    EXPECT_LE(fitted->Height, LargestMapSide);
    EXPECT_LT(fitted->Scale, DefaultMapScale);
}

// A level that does not load: the tool says what the loader says, on stderr,
// and ends with status 1 without writing a picture.
TEST(MazeMapTool, BadLevelsGiveTheLoadersMessage) {
    const auto folder = TestFolder();
    for (const std::string bytes : {"2\n1,0\nx,0\n", "3\n1,1\n", "", "1\n1,,1\n0,0\n0,0\n0,0\n"}) {
        const auto level = folder / "torv-2.dat";
        const auto png = folder / "torv-2.png";
        WriteFile(level, bytes);
        std::filesystem::remove(png);
        Module1 state;
        const auto expected = ReadLevel(bytes, level.string(), state);
        ASSERT_TRUE(expected.has_value());

        const auto result = RunTool(std::string(MAZEWALK_MAP) + " " + Quoted(level), folder);
        EXPECT_EQ(result.Status, 1);
        EXPECT_EQ(result.Err, "mazewalk-map: " + expected->Message + "\n");
        EXPECT_EQ(result.Out, "");
        EXPECT_FALSE(std::filesystem::exists(png));
    }

    const auto result =
        RunTool(std::string(MAZEWALK_MAP) + " " + Quoted(folder / "none.dat"), folder);
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err, "mazewalk-map: " + (folder / "none.dat").string() +
                              ": cannot open the level file: No such file or directory\n");
}

TEST(MazeMapTool, OutputFormsDefaultOutputAndBadArguments) {
    const auto folder = TestFolder();
    const std::string small = Quoted(folder / "small.dat");
    WriteFile(folder / "small.dat", MazeText(3, 1));
    auto result = RunTool(std::string(MAZEWALK_MAP) + " " + small, folder);
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_TRUE(Picture(folder / "small.png").Decoded());
    for (const std::string& output : OutputForms(folder / "map.png")) {
        std::filesystem::remove(folder / "map.png");
        result = RunTool(std::string(MAZEWALK_MAP) + " " + output + " --scale=4 " + small, folder);
        EXPECT_EQ(result.Status, 0) << output << ": " << result.Err;
        const Picture map(folder / "map.png");
        ASSERT_TRUE(map.Decoded()) << output;
        EXPECT_LT(map.Width(), Picture(folder / "small.png").Width()) << "--scale=4 ignored";
    }

    struct Case {
        std::string Arguments;
        const char* Says;
    };
    for (const Case& c : {Case{"", "LEVEL is required"},
                          Case{small + " --scale 1", "--scale: Value 1 not in range 2 to 64"},
                          Case{small + " --scale=65", "Value 65 not in range 2 to 64"},
                          Case{small + " --scale 99999999999999999999", "not in range 2 to 64"},
                          Case{small + " -o", "option '--output' needs a value"},
                          Case{small + " b.dat", "unexpected argument 'b.dat'"},
                          Case{Quoted(folder / "small.png"), "would overwrite the level"},
                          Case{"--frobnicate", "unknown option '--frobnicate'"}}) {
        ExpectRefused(RunTool(std::string(MAZEWALK_MAP) + " " + c.Arguments, folder),
                      "mazewalk-map", c.Says, c.Arguments);
    }
    ExpectHelpAndVersion("mazewalk-map", MAZEWALK_MAP, "--scale N", folder);
    WriteFile(folder / "tiny.dat", MazeText(2, 1));
    // Built piece by piece: GCC 12 warns (-Wrestrict) on a chain of + here.
    std::string files = " ";
    files += Quoted(folder / "tiny.dat");
    files += " -o ";
    files += Quoted(folder / "tiny.png");
    ExpectBounds("mazewalk-map", MAZEWALK_MAP, "--scale", 2, 64, 0, files, folder);
}

}  // namespace
