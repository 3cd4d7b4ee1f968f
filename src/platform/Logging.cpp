#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcService, "vornel.service", QtInfoMsg)
Q_LOGGING_CATEGORY(lcGeneration, "vornel.generation", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStore, "vornel.store", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlatform, "vornel.platform", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFaces, "vornel.faces", QtInfoMsg)
Q_LOGGING_CATEGORY(lcScreens, "vornel.screens", QtInfoMsg)
