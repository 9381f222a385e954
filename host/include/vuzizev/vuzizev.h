// The host runtime interface as the library uses it.
#pragma once

#include "vuzizev/alloc.h"
#include "vuzizev/api.h"
#include "vuzizev/matrix.h"
#include "vuzizev/model.h"
#include "vuzizev/multiport.h"
#include "vuzizev/object.h"
#include "vuzizev/procedure.h"
#include "vuzizev/properties.h"
#include "vuzizev/references.h"
#include "vuzizev/set_properties.h"
#include "vuzizev/sets.h"
#include "vuzizev/values.h"
