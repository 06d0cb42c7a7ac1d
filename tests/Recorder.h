// A PlatformServices that records what the logic asks of it, with a clock the
// test sets by hand.
#pragma once

#include <string>
#include <vector>

#include "render/Platform.h"

struct RecordingPlatform final : PlatformServices {
    int Clears = 0;
    std::vector<Quad> Polygons;
    std::vector<std::string> Titles;
    double Now = 0;
    int ClockReads = 0;
    bool Ended = false;

    void ClearView() override {
        ++Clears;
        Polygons.clear();
    }
    void Polygon(const Quad& points) override { Polygons.push_back(points); }
    void SetTitle(const std::string& title) override { Titles.push_back(title); }
    double Seconds() override {
        ++ClockReads;
        return Now;
    }
    void EndProgram() override { Ended = true; }
};
