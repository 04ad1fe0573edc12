// The open picture's file watched by its stamp: a change is read once it has settled.
#include "app/picture_watch.h"

namespace korvanth {

WatchStep LookAtPicture(PictureWatch& watch, const FileStamp& now) {
  if (now == watch.shown || !now.regular) {
    watch.changing.reset();
    return WatchStep::Wait;
  }
  if (watch.changing != now) {
    watch.changing = now;
    return WatchStep::Wait;
  }
  watch.shown = now;
  watch.changing.reset();
  return WatchStep::Reload;
}

}  // namespace korvanth
