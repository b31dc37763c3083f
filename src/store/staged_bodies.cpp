#include "store/staged_bodies.h"

namespace vn {

namespace {

bool Holds(const FolderContents& known, const std::u16string& name, const BodyBytes& bytes) {
    auto it = known.find(name);
    return bytes && it != known.end() && it->second && *it->second == *bytes;
}

} // namespace

void PlaceBodies(FileSystem& fs, const std::u16string& folder, std::vector<StagedBody>& bodies, FolderContents& known,
                 const std::function<void(const std::u16string& path)>& retire) {
    std::map<std::u16string, const StagedBody*> wanted;
    for (const StagedBody& body : bodies) wanted[body.name] = &body;
    // A file may give its bytes away when nothing wants them where they are.
    auto spare = [&](const std::u16string& name) {
        auto it = wanted.find(name);
        return it == wanted.end() || !Holds(known, name, it->second->bytes);
    };
    std::multimap<size_t, std::u16string> byHash;
    for (const auto& [name, bytes] : known)
        if (bytes) byHash.emplace(std::hash<std::string>{}(*bytes), name);

    for (StagedBody& body : bodies) {
        if (!body.bytes || Holds(known, body.name, body.bytes)) continue;
        auto [from, to] = byHash.equal_range(std::hash<std::string>{}(*body.bytes));
        for (auto it = from; it != to; ++it) {
            const std::u16string source = it->second;
            auto held = known.find(source);
            if (source == body.name || held == known.end() || !held->second || *held->second != *body.bytes ||
                !spare(source))
                continue;
            // Inside the staging folder, which is no store until its index takes
            // its name by a write-through rename that brings this one along.
            fs.Rename(folder + u"\\" + source, folder + u"\\" + body.name, Durability::Cached);
            known[body.name] = held->second;
            known.erase(source);
            byHash.erase(it);
            break;
        }
    }
    for (auto body = bodies.rbegin(); body != bodies.rend(); ++body) {
        const std::u16string path = folder + u"\\" + body->name;
        auto held = known.find(body->name);
        if (!body->bytes) {
            known.erase(body->name);
            retire(path);
        } else if (held != known.end() && held->second && *held->second == *body->bytes) {
            body->bytes = held->second;
        } else {
            known.erase(body->name);
            fs.WriteFile(path, *body->bytes, Durability::Flushed);
            known[body->name] = body->bytes;
        }
    }
}

} // namespace vn
