// Runs Tiled's export and tmxrasterizer for the tests, reads its JSON, writes one-layer maps.
#include "tilesets/peer_programs.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

ProgramRun ExportTilesetAsJson(const std::string& tsx, const std::string& json) {
  return RunProgram(KORVANTH_TILED_EXE, {"--export-tileset", "json", tsx, json});
}

ProgramRun RasterizeMap(const std::string& tmx, const std::string& png) {
  return RunProgram(KORVANTH_TMXRASTERIZER_EXE, {tmx, png});
}

std::optional<TiledJsonTileset> ReadTiledJson(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject root = document.object();
  TiledJsonTileset tileset;
  for (auto it = root.begin(); it != root.end(); ++it) {
    if (it->isString()) tileset.fields[it.key().toStdString()] = it->toString().toStdString();
    if (it->isDouble()) tileset.fields[it.key().toStdString()] = std::to_string(it->toInteger());
  }
  const QJsonArray wangsets = root.value("wangsets").toArray();
  tileset.wangsetCount = static_cast<int>(wangsets.size());
  for (const QJsonValue& set : wangsets) {
    tileset.wangsetType = set.toObject().value("type").toString().toStdString();
    tileset.wangsetName = set.toObject().value("name").toString().toStdString();
    tileset.wangsetTile = set.toObject().value("tile").toInt(-1);
    TiledJsonTileset::WangSet own{tileset.wangsetName, {}, tileset.wangsetTile, {}};
    const QJsonArray colours = set.toObject().value("colors").toArray();
    tileset.colourCount = static_cast<int>(colours.size());
    if (!colours.isEmpty()) {
      const QJsonObject first = colours.first().toObject();
      tileset.colourName = first.value("name").toString().toStdString();
      tileset.colour = first.value("color").toString().toStdString();
      tileset.colourTile = first.value("tile").toInt(-1);
      own.colour = tileset.colour;
    }
    for (const QJsonValue& tile : set.toObject().value("wangtiles").toArray()) {
      std::array<int, 8> id{};
      const QJsonArray values = tile.toObject().value("wangid").toArray();
      if (values.size() != 8) return std::nullopt;
      for (int i = 0; i < 8; ++i) id[i] = values[i].toInt(-1);
      tileset.wangids[tile.toObject().value("tileid").toInt(-1)] = id;
      own.wangids[tile.toObject().value("tileid").toInt(-1)] = id;
    }
    tileset.wangsets.push_back(std::move(own));
  }
  for (const QJsonValue& tile : root.value("tiles").toArray())
    for (const QJsonValue& frame : tile.toObject().value("animation").toArray())
      tileset.animations[tile.toObject().value("id").toInt(-1)].emplace_back(
          frame.toObject().value("tileid").toInt(-1), frame.toObject().value("duration").toInt(-1));
  return tileset;
}

std::string MapText(int width, int height, int tileSize, const std::string& tsx,
                    const std::vector<int>& gids) {
  const std::string w = std::to_string(width), h = std::to_string(height);
  const std::string size = std::to_string(tileSize);
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  text +=
      "<map version=\"1.8\" tiledversion=\"1.8.2\" orientation=\"orthogonal\" "
      "renderorder=\"right-down\" width=\"" +
      w + "\" height=\"" + h + "\" tilewidth=\"" + size + "\" tileheight=\"" + size +
      "\" infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n";
  text += " <tileset firstgid=\"1\" source=\"" + tsx + "\"/>\n";
  text += " <layer id=\"1\" name=\"terrain\" width=\"" + w + "\" height=\"" + h + "\">\n";
  text += "  <data encoding=\"csv\">\n";
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      text += std::to_string(gids[y * width + x]);
      if (x + 1 < width || y + 1 < height) text += ',';
    }
    text += '\n';
  }
  text += "  </data>\n </layer>\n</map>\n";
  return text;
}
