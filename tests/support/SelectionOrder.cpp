#include "support/SelectionOrder.h"

std::vector<std::int16_t> SelectionOrder(Module1& state) {
    std::vector<std::int16_t> order;
    const int count = state.WallCount;
    for (int pass = 0; pass < count; ++pass) {
        int m = 1;
        for (int i = 2; i <= count; ++i) {
            if (state.Walls[i].Distance > state.Walls[m].Distance) {
                m = i;
            }
        }
        if (state.Walls[m].Distance == 0) {
            continue;
        }
        state.Walls[m].Distance = 0;
        order.push_back(static_cast<std::int16_t>(m));
    }
    return order;
}
