#include <algorithm>
#include <cmath>

#include "tests/deskphoto/DeskPhoto.h"

namespace desk {

std::vector<ShotSpec> variedShots(int count, int width, int height, unsigned seed) {
    const Desk desks[] = {Desk::PaleTable, Desk::PatternedCloth, Desk::ClutteredDesk,
                          Desk::DarkWood, Desk::GreyStone};
    const Paper papers[] = {Paper::A4, Paper::A4, Paper::Letter, Paper::A5, Paper::B5};
    const int orientations[] = {1, 6, 1, 8, 3, 1};
    Random random(seed);
    std::vector<ShotSpec> shots;
    for (int i = 0; i < count; ++i) {
        ShotSpec s;
        s.seed = seed * 1000 + static_cast<unsigned>(i);
        // Every tenth photo has no page in it at all; the desks take turns for those too.
        s.sheet = i % 10 != 9;
        s.desk = s.sheet ? desks[i % 5] : desks[(i / 10) % 5];
        // Pages are mostly photographed upright in a portrait photo, now and then across.
        bool across = i % 5 == 3;
        s.width = across ? std::max(width, height) : std::min(width, height);
        s.height = across ? std::min(width, height) : std::max(width, height);
        double spread = (i % 7) / 6.0;
        s.rotationDegrees = (i % 2 == 0 ? 1 : -1) * 30 * spread;
        s.keystone = 0.2 * ((i * 3) % 7) / 6.0;
        // The more a sheet is turned, the less of the frame it can fill.
        double most = across ? 0.5 - 0.1 * spread : 0.9 - 0.5 * spread;
        s.fill = 0.4 + (most - 0.4) * ((i * 5) % 9) / 8.0;
        s.falloff = random.uniform(0.1, 0.4);
        s.shadow = i % 3 != 2;
        s.shadowAcrossEdge = i % 3 == 1;
        s.cast = random.uniform(0, 1.2);
        s.blurSigma = random.uniform(0.4, 1.2) * std::max(width, height) / 1600.0;
        s.noiseSigma = random.uniform(1.5, 4);
        s.jpegQuality = 80 + static_cast<int>(random.uniform(0, 13));
        s.orientation = orientations[i % 6];
        s.page.paper = papers[(i / 2) % 5];
        s.page.seal = i % 4 != 3;
        s.page.colourMarks = i % 5 == 2;
        s.page.textSeed = static_cast<unsigned>(i);
        shots.push_back(s);
    }
    return shots;
}

} // namespace desk
