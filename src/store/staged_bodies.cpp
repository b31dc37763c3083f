#include "store/staged_bodies.h"

#include <unordered_map>

#include "store/index_string.h"
#include "store/store_names.h"

namespace vn {

namespace {

size_t HashOf(const std::string& bytes) { return std::hash<std::string>{}(bytes); }

bool Holds(const FolderContents& known, const std::u16string& name, const BodyBytes& bytes) {
    auto it = known.find(name);
    return bytes && it != known.end() && it->second && *it->second == *bytes;
}

} // namespace

std::vector<std::u16string> IndexLines(const StorePlan& plan) {
    const std::u16string folderPrefix = std::u16string(kStoreFolderName) + u"\\";
    std::vector<std::u16string> lines;
    lines.reserve(plan.lines.size());
    for (const PlannedLine& planned : plan.lines) {
        lines.push_back(planned.line);
        if (planned.body)
            lines.back().replace(planned.fieldOffset, planned.fieldLength, folderPrefix + plan.bodies[*planned.body].name);
    }
    return lines;
}

FolderContents ReadBodies(FileSystem& fs, const std::u16string& folder) {
    FolderContents contents;
    for (const std::u16string& name : fs.List(folder)) {
        if (!name.ends_with(u".txt")) continue;
        try {
            contents[name] = std::make_shared<const std::string>(fs.ReadFile(folder + u"\\" + name));
        } catch (const std::exception&) {
            // Unknown: written if the new store needs that name.
        }
    }
    return contents;
}

void PlaceBodies(FileSystem& fs, const std::u16string& folder, std::vector<StagedBody>& bodies, FolderContents& known,
                 const std::function<void(const std::u16string& path)>& retire) {
    // Bodies still wanted, by the hash of their bytes; and every file by its bytes' hash.
    std::unordered_map<size_t, int> wanted;
    for (const StagedBody& body : bodies)
        if (body.bytes && !Holds(known, body.name, body.bytes)) ++wanted[HashOf(*body.bytes)];
    std::unordered_multimap<size_t, std::u16string> byHash;
    for (const auto& [name, bytes] : known)
        if (bytes) byHash.emplace(HashOf(*bytes), name);
    std::map<std::u16string, const StagedBody*> byName;
    for (const StagedBody& body : bodies) byName[body.name] = &body;
    // A file may give its bytes away unless they are what its own name wants.
    auto settled = [&](const std::u16string& name) {
        auto it = byName.find(name);
        return it != byName.end() && Holds(known, name, it->second->bytes);
    };
    auto move = [&](const std::u16string& from, const std::u16string& to) {
        // Inside the staging folder, which is no store until its index takes its
        // name by a write-through rename that brings these along.
        fs.Rename(folder + u"\\" + from, folder + u"\\" + to, Durability::Cached);
        auto node = known.extract(from);
        node.key() = to;
        known.erase(to);
        known.insert(std::move(node));
        for (auto [it, end] = byHash.equal_range(HashOf(*known[to])); it != end; ++it)
            if (it->second == from) it->second = to;
    };

    size_t parked = 0;
    for (StagedBody& body : bodies) {
        if (!body.bytes || Holds(known, body.name, body.bytes)) continue;
        const size_t hash = HashOf(*body.bytes);
        std::u16string source;
        for (auto [it, end] = byHash.equal_range(hash); it != end && source.empty(); ++it) {
            auto held = known.find(it->second);
            if (it->second != body.name && held != known.end() && *held->second == *body.bytes && !settled(it->second))
                source = it->second;
        }
        if (source.empty()) continue;
        // The bytes here now may be wanted by a later name (two notes changed places):
        // they step aside under a temporary name instead of being lost.
        auto here = known.find(body.name);
        if (here != known.end() && here->second) {
            auto still = wanted.find(HashOf(*here->second));
            if (still != wanted.end() && still->second > 0)
                move(body.name, u"moving-" + DecimalText(parked++) + u".tmp");
        }
        move(source, body.name);
        --wanted[hash];
    }
    for (auto body = bodies.rbegin(); body != bodies.rend(); ++body) {
        const std::u16string path = folder + u"\\" + body->name;
        if (!body->bytes) {
            known.erase(body->name);
            retire(path);
        } else if (Holds(known, body->name, body->bytes)) {
            body->bytes = known[body->name];
        } else {
            known.erase(body->name);
            fs.WriteFile(path, *body->bytes, Durability::Flushed);
            known[body->name] = body->bytes;
        }
    }
}

} // namespace vn
