#include "tests/support/Icc.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace support {

namespace {

void PutSignature(Bytes &out, const char (&signature)[5]) {
    out.insert(out.end(), signature, signature + 4);
}

void PutFixed(Bytes &out, double value) {
    PutBe32(out, static_cast<uint32_t>(static_cast<int32_t>(std::lround(value * 65536))));
}

Bytes Xyz(double x, double y, double z) {
    Bytes tag;
    PutSignature(tag, "XYZ ");
    PutBe32(tag, 0);
    PutFixed(tag, x);
    PutFixed(tag, y);
    PutFixed(tag, z);
    return tag;
}

Bytes Gamma22() {
    Bytes tag;
    PutSignature(tag, "curv");
    PutBe32(tag, 0);
    PutBe32(tag, 1);
    PutBe16(tag, 0x0233); // 2.2 as an unsigned 8.8 fixed-point number
    return tag;
}

Bytes Description(const std::string &name) {
    Bytes tag;
    PutSignature(tag, "desc");
    PutBe32(tag, 0);
    PutBe32(tag, static_cast<uint32_t>(name.size() + 1));
    tag.insert(tag.end(), name.begin(), name.end());
    tag.push_back(0);
    tag.resize(tag.size() + 4 + 4 + 2 + 1 + 67, 0); // no Unicode or ScriptCode description
    return tag;
}

Bytes Copyright() {
    const std::string text = "No copyright, use freely";
    Bytes tag;
    PutSignature(tag, "text");
    PutBe32(tag, 0);
    tag.insert(tag.end(), text.begin(), text.end());
    tag.push_back(0);
    return tag;
}

struct Tag {
    const char *signature;
    Bytes data;
};

} // namespace

Bytes IccProfile(int components, const std::string &name) {
    if (components != 1 && components != 3) {
        throw std::invalid_argument("IccProfile: grey or RGB only");
    }
    std::vector<Tag> tags = {
        {"desc", Description(name)}, {"cprt", Copyright()}, {"wtpt", Xyz(0.9642, 1.0, 0.8249)}};
    if (components == 1) {
        tags.push_back({"kTRC", Gamma22()});
    } else {
        // The sRGB primaries adapted to the D50 connection space.
        tags.push_back({"rXYZ", Xyz(0.4360, 0.2225, 0.0139)});
        tags.push_back({"gXYZ", Xyz(0.3851, 0.7169, 0.0971)});
        tags.push_back({"bXYZ", Xyz(0.1431, 0.0606, 0.7141)});
        tags.push_back({"rTRC", Gamma22()});
        tags.push_back({"gTRC", Gamma22()});
        tags.push_back({"bTRC", Gamma22()});
    }

    Bytes table;
    Bytes data;
    const uint32_t dataStart = 128 + 4 + 12 * static_cast<uint32_t>(tags.size());
    for (const Tag &tag : tags) {
        table.insert(table.end(), tag.signature, tag.signature + 4);
        PutBe32(table, dataStart + static_cast<uint32_t>(data.size()));
        PutBe32(table, static_cast<uint32_t>(tag.data.size()));
        Append(data, tag.data);
        data.resize((data.size() + 3) / 4 * 4, 0);
    }

    Bytes profile;
    PutBe32(profile, dataStart + static_cast<uint32_t>(data.size()));
    PutBe32(profile, 0);          // preferred CMM
    PutBe32(profile, 0x02100000); // version 2.1
    PutSignature(profile, "mntr");
    PutSignature(profile, components == 1 ? "GRAY" : "RGB ");
    PutSignature(profile, "XYZ ");
    for (uint32_t part : {2024, 1, 1, 0, 0, 0}) {
        PutBe16(profile, part);
    }
    PutSignature(profile, "acsp");
    profile.resize(64, 0);     // platform, flags, device maker and model, attributes
    PutBe32(profile, 0);       // perceptual rendering intent
    PutFixed(profile, 0.9642); // the D50 illuminant
    PutFixed(profile, 1.0);
    PutFixed(profile, 0.8249);
    profile.resize(128, 0);
    PutBe32(profile, static_cast<uint32_t>(tags.size()));
    Append(profile, table);
    Append(profile, data);
    return profile;
}

} // namespace support
