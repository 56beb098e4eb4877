#pragma once
// The kinds of value the settings keep for the window's views, as types of
// their own so that a scene and a zoom step cannot be mixed up with other
// numbers (the view is a ListType).
namespace sc {

// The sample scene previews are rendered in: an index into the scene folder's
// list, First its first scene. Any index may be stored; the scene menu
// corrects one beyond its end.
enum class PreviewScene : int { First = 0 };

// The picture list's zoom step: Normal is the standard cell, each step above
// or below it one cell size larger or smaller.
enum class GridZoom : int { Normal = 0 };

}  // namespace sc
