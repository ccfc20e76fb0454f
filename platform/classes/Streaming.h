#pragma once
// Everything of component streaming in one include: the object tree, its
// binary and text spellings, component reading and writing, and files.
#include "BinaryStream.h"
#include "Collection.h"
#include "ComponentStream.h"
#include "StreamFile.h"
#include "StreamNode.h"
#include "TextForm.h"
#include "rtl/Exceptions.h"
