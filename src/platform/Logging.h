#pragma once

#include <QLoggingCategory>

// One logging category per area. The fixed console lines do not go through
// these; they are written by consoleLine().
Q_DECLARE_LOGGING_CATEGORY(lcService)    // vornel.service: the prediction service client
Q_DECLARE_LOGGING_CATEGORY(lcGeneration) // vornel.generation: the generation model
Q_DECLARE_LOGGING_CATEGORY(lcStore)      // vornel.store: user defaults and the object store
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)   // vornel.platform: the desktop stand-ins
Q_DECLARE_LOGGING_CATEGORY(lcFaces)      // vornel.faces: the face check
Q_DECLARE_LOGGING_CATEGORY(lcScreens)    // vornel.screens: screen state
