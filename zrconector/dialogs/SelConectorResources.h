#pragma once
// The selection dialog's templates (50106, 50109, 50112) and bitmaps (50100,
// 50116) as resource tables, registered with the toolkit when the module
// loads. Registering again replaces them with the same data.

void RegisterSelConectorResources();
