// The whole document model in one include.
#pragma once

#include "rtfengine/model/Blocks.h"
#include "rtfengine/model/Document.h"
#include "rtfengine/model/Font.h"
#include "rtfengine/model/Image.h"
#include "rtfengine/model/PlainText.h"
#include "rtfengine/model/Table.h"
