// The popup windows of the player, for the window registry: the message popup, the information
// viewer and About. Opening one that is open only brings it to the front.
#pragma once

namespace player {

// Registers frmMessage, frmInfoViewer and frmAbout under their core::WindowName, and the
// operator's message poll with its popup as the player's core::MessageBoard.
void RegisterPopupWindows();

} // namespace player
