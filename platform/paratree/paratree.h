#pragma once
// ovk_paratree: the parameter-tree model. Directories hold directories and
// books, books hold named parameters, parameters hold named attribute values
// and per-locale descriptions. Stored, a directory is a folder and a book a
// JSON file.
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_entity.h"
#include "platform/paratree/para_tree_error.h"
#include "platform/paratree/parameter.h"
#include "platform/paratree/parameter_book.h"
#include "platform/paratree/parameter_directory.h"
#include "platform/paratree/disk_versions.h"
#include "platform/paratree/parameter_snapshot.h"
