// The class library's core in one include: objects and their type info,
// persistent objects, components, lists, string lists and the class registry.
#pragma once

#include "platform/core/ClassRegistry.h"
#include "platform/core/Collection.h"
#include "platform/core/Component.h"
#include "platform/core/Events.h"
#include "platform/core/List.h"
#include "platform/core/Object.h"
#include "platform/core/Persistent.h"
#include "platform/core/Set.h"
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypeInfo.h"
