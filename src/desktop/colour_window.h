// The solid-colour window that covers the wallpaper while the icons are hidden.
#pragma once

// Called after every change of the icons' visibility.
void UpdateColourWindow(bool iconsVisible);
