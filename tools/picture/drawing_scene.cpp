#include "drawing_scene.h"

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "svg_text.h"

namespace picture {
namespace {

using Places = std::vector<std::pair<std::string, Point>>;

// The symbols and connector places found in one container.
struct Found {
  Places symbols, connectors;
};

class SceneBuilder {
 public:
  SceneBuilder(const SceneRequest& request, Scene& scene) : request_(request), scene_(scene) {}

  void drawContainer(const OdDbBlockTableRecord& container, Sketch& sketch, Found& found, int depth) {
    for (OdDbObjectIteratorPtr it = container.newIterator(); !it->done(); it->step()) {
      OdDbEntityPtr entity = it->entity();
      if (entity.isNull()) continue;
      const std::string& kind = entity->dxfName();
      if (kind == "ATTDEF") continue;  // references show attributes, not their definitions
      if (const auto* reference = OdDbBlockReference::cast(entity.get())) {
        drawReference(*reference, sketch, found, depth);
      } else if (!drawEntity(*entity, sketch)) {
        ++scene_.notDrawn[kind];
      }
    }
  }

 private:
  struct Block {
    enum State { kBusy, kDone } state = kBusy;
    std::string id;  // empty when it draws nothing
    Box box;
    Found found;
  };

  void drawReference(const OdDbBlockReference& reference, Sketch& sketch, Found& found, int depth) {
    const Fields f(reference.dxfTags());
    Affine ocs;
    if (f.number(230, 1.0) < 0.0) ocs.a = -1.0;
    const Point at = ocs.apply(f.point(10, NAN));
    const double sx = f.number(41, 1.0), sy = f.number(42, 1.0), degrees = f.number(50, 0.0);
    if (!usable(at) || !usable(sx) || !usable(sy) || !usable(degrees) || f.integer(60, 0) == 1) {
      ++scene_.notDrawn["INSERT"];
      return;
    }
    sketch.box.add(at);
    if (!request_.handles.empty()) {
      std::string handle = reference.handle().ascii().toUtf8();
      if (request_.handles.count(handle) && found.symbols.size() < kMaxPlaces)
        found.symbols.emplace_back(std::move(handle), at);
    }
    if (!request_.connectors.empty()) {
      OdResBufPtr xdata = reference.xData(OdString(u"ZR_PINO"));
      if (!xdata.isNull() && !xdata->next().isNull()) {
        const std::string name = xdata->next()->valueAsText().toUtf8();
        if (request_.connectors.count(name)) found.connectors.emplace_back(name, at);
      }
    }
    OdDbObjectPtr object = reference.blockTableRecord().openObject();
    if (const auto* definition = OdDbBlockTableRecord::cast(object.get())) {
      const Affine m = Affine::insertion(f.point(10, 0.0), sx, sy, degrees,
                                         {definition->origin().x, definition->origin().y})
                           .then(ocs);
      if (const Block* block = blockOf(*definition, depth + 1)) {
        if (!block->id.empty()) {
          sketch.svg += "<use href=\"#" + block->id + "\" transform=\"";
          appendMatrix(sketch.svg, m);
          sketch.svg += "\"/>\n";
          sketch.box.add(block->box, m);
        }
        for (const auto& [handle, p] : block->found.symbols)
          if (found.symbols.size() < kMaxPlaces) found.symbols.emplace_back(handle, m.apply(p));
        for (const auto& [name, p] : block->found.connectors) found.connectors.emplace_back(name, m.apply(p));
      }
    }
    for (OdDbObjectIteratorPtr it = reference.attributeIterator(); !it->done(); it->step()) {
      OdDbEntityPtr attribute = it->entity();
      if (!attribute.isNull() && !drawEntity(*attribute, sketch)) ++scene_.notDrawn["ATTRIB"];
    }
  }

  // The drawn block, or null when it is being drawn (a cycle) or nested too deep.
  const Block* blockOf(const OdDbBlockTableRecord& definition, int depth) {
    auto found = blocks_.find(&definition);
    if (found != blocks_.end()) return found->second.state == Block::kDone ? &found->second : nullptr;
    // Not kept: the same block may come again at a depth that allows it.
    if (depth > kMaxNesting) return nullptr;
    Block& block = blocks_[&definition];  // element references survive rehashing
    Sketch sketch;
    drawContainer(definition, sketch, block.found, depth);
    block.state = Block::kDone;
    block.box = sketch.box;
    // Each connector once: its first place.
    Places first;
    std::set<std::string> seen;
    for (auto& place : block.found.connectors)
      if (seen.insert(place.first).second) first.push_back(std::move(place));
    block.found.connectors = std::move(first);
    if (!sketch.svg.empty()) {
      block.id = "block-" + std::to_string(++blockCount_);
      scene_.defs += "<g id=\"" + block.id + "\">\n" + sketch.svg + "</g>\n";
    }
    return &block;
  }

  const SceneRequest& request_;
  Scene& scene_;
  std::unordered_map<const OdDbBlockTableRecord*, Block> blocks_;
  int blockCount_ = 0;
};

}  // namespace

Scene drawModelSpace(const OdDbDatabase& db, const SceneRequest& request) {
  Scene scene;
  OdDbObjectPtr object = db.getModelSpaceId().openObject();
  const auto* modelSpace = OdDbBlockTableRecord::cast(object.get());
  if (!modelSpace) return scene;
  SceneBuilder builder(request, scene);
  Found found;
  builder.drawContainer(*modelSpace, scene.model, found, 0);
  for (auto& [handle, p] : found.symbols) scene.symbols[handle].push_back(p);
  for (auto& [name, p] : found.connectors) scene.connectors.emplace(name, p);
  return scene;
}

}  // namespace picture
