// Off Windows: registers the program's icon by its theme name, the built-in copy as fallback.
#include "app/icon_install.h"

#include "app/icon_resource.h"
#include "platform/win32_api.h"

namespace korvanth {

void InstallIconResource() {
  // "korvanth" is the icon's name in the hicolor theme (korvanth.desktop's Icon=); the
  // program's build puts the same pictures under this resource folder.
  RegisterLinuxIconResource(IDI_KORVANTH, "korvanth", ":/korvanth/icon");
}

}  // namespace korvanth
