// File types registered under HKEY_CLASSES_ROOT, mirrored the freedesktop way so that file
// managers open the documents with the registered program: a shared-mime-info package and a
// desktop entry per document class, kept in step with the classes-root hive.
#pragma once

#include <string>
#include <string_view>

#include "platform/posix/registry_store.h"

namespace tamvel::posix::registry {

// Rewrites $XDG_DATA_HOME/mime/packages/tamvel-<class>.xml and
// $XDG_DATA_HOME/applications/tamvel-<class>.desktop for every class that an extension key
// names, removes those of classes no extension names any more, and runs
// update-mime-database / update-desktop-database when they exist and something changed.
// Failures are ignored: the registry itself is the record.
void MirrorFileTypes(const Key &classes_root);

// The desktop-entry Exec line for a Windows-style open command ("prog" "%1").
std::string DesktopExecLine(std::string_view command);

}  // namespace tamvel::posix::registry
