// Files dropped on a window: WM_DROPFILES with an HDROP that holds their UTF-8 paths.
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/linux/top_level_window.h"

struct HDROP__ {
  std::vector<std::string> paths;
};

namespace {

std::vector<HDROP>& LiveDrops() {
  static auto* drops = new std::vector<HDROP>;
  return *drops;
}

bool IsLiveDrop(HDROP drop) {
  const auto& drops = LiveDrops();
  return drop != nullptr && std::find(drops.begin(), drops.end(), drop) != drops.end();
}

std::vector<std::string> LocalPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  return paths;
}

// Bytes of `text` that fit in `room` without splitting a UTF-8 sequence.
size_t FittingBytes(const std::string& text, size_t room) {
  if (text.size() <= room) return text.size();
  size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

}  // namespace

namespace korvanth::platform {

bool MainWindow::acceptsDrop(const QMimeData* data) const {
  return alive_ && (exStyle_ & WS_EX_ACCEPTFILES) && !LocalPaths(data).empty();
}

void MainWindow::onDrop(QDropEvent* event) {
  if (!acceptsDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  auto* drop = new HDROP__{LocalPaths(event->mimeData())};
  LiveDrops().push_back(drop);
  event->acceptProposedAction();
  // The window procedure releases the drop with DragFinish.
  send(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

}  // namespace korvanth::platform

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
  if (!IsLiveDrop(drop)) return 0;
  if (index == 0xFFFFFFFF) return static_cast<UINT>(drop->paths.size());
  if (index >= drop->paths.size()) return 0;
  const std::string& path = drop->paths[index];
  if (file == nullptr) return static_cast<UINT>(path.size());
  if (size == 0) return 0;
  const size_t copied = FittingBytes(path, size - 1);
  std::memcpy(file, path.data(), copied);
  file[copied] = '\0';
  return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) {
  if (!IsLiveDrop(drop)) return;
  auto& drops = LiveDrops();
  drops.erase(std::remove(drops.begin(), drops.end(), drop), drops.end());
  delete drop;
}
