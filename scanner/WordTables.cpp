#include "scanner/WordTables.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_set>

namespace sc {
namespace {

const std::array<std::string_view, 369> kReservedWords = {
    "aa_level", "aa_threshold", "abs", "absorption", "acos", "acosh", "adaptive", "adc_bailout",
    "agate", "agate_turb", "all", "alpha", "ambient", "ambient_light", "angle", "aperture",
    "append", "arc_angle", "area_light", "array", "asc", "asin", "asinh", "assumed_gamma",
    "atan", "atan2", "atanh", "atmosphere", "atmospheric_attenuation", "attenuating", "average", "background",
    "bezier_spline", "bicubic_patch", "black_hole", "blob", "blue", "blur_samples", "bounded_by", "box",
    "box_mapping", "boxed", "bozo", "break", "brick", "brick_size", "brightness", "brilliance",
    "bumps", "bump_map", "bump_size", "camera", "case", "caustics", "ceil", "checker",
    "chr", "clipped_by", "clock", "clock_delta", "color", "color_map", "colour", "colour_map",
    "component", "composite", "concat", "cone", "confidence", "conic_sweep", "constant", "control0",
    "control1", "cos", "cosh", "count", "crackle", "crand", "cube", "cubic",
    "cubic_spline", "cubic_wave", "cylinder", "cylindrical", "cylindrical_mapping", "debug", "declare", "default",
    "degrees", "density", "density_file", "density_map", "dents", "df3", "difference", "diffuse",
    "dimensions", "dimension_size", "direction", "disc", "distance", "distance_maximum", "div", "dust",
    "dust_type", "eccentricity", "else", "emission", "emitting", "end", "error", "error_bound",
    "exp", "exponent", "extinction", "fade_distance", "fade_power", "falloff", "falloff_angle", "false",
    "fclose", "file_exists", "filter", "finish", "fisheye", "flatness", "flip", "floor",
    "focal_point", "fog", "fog_alt", "fog_offset", "fog_type", "fopen", "frequency", "gif",
    "global_settings", "glowing", "gradient", "granite", "gray_threshold", "green", "halo", "height_field",
    "hexagon", "hf_gray_16", "hierarchy", "hollow", "hypercomplex", "if", "ifdef", "iff",
    "ifndef", "image_map", "include", "int", "interior", "interpolate", "intersection", "intervals",
    "inverse", "ior", "irid", "irid_wavelength", "jitter", "julia_fractal", "lambda", "lathe",
    "leopard", "light_source", "linear", "linear_spline", "linear_sweep", "local", "location", "log",
    "looks_like", "look_at", "low_error_factor", "macro", "mandel", "map_type", "marble", "material",
    "material_map", "matrix", "max", "max_intersections", "max_iteration", "max_trace_level", "max_value", "media",
    "media_attenuation", "media_interaction", "merge", "mesh", "metallic", "min", "minimum_reuse", "mod",
    "mortar", "nearest_count", "no", "normal", "normal_map", "no_shadow", "number_of_waves", "object",
    "octaves", "off", "offset", "omega", "omnimax", "on", "once", "onion",
    "open", "orthographic", "panoramic", "perspective", "pgm", "phase", "phong", "phong_size",
    "pi", "pigment", "pigment_map", "planar", "planar_mapping", "plane", "png", "point_at",
    "poly", "polygon", "poly_wave", "pot", "pow", "ppm", "precision", "prism",
    "pwr", "quadratic_spline", "quadric", "quartic", "quaternion", "quick_color", "quick_colour", "quilted",
    "radial", "radians", "radiosity", "radius", "rainbow", "ramp_wave", "rand", "range",
    "ratio", "read", "reciprocal", "recursion_limit", "red", "reflection", "reflection_exponent", "refraction",
    "render", "repeat", "rgb", "rgbf", "rgbft", "rgbt", "right", "ripples",
    "rotate", "roughness", "samples", "scale", "scallop_wave", "scattering", "seed", "shadowless",
    "sin", "sine_wave", "sinh", "sky", "sky_sphere", "slice", "slope_map", "smooth",
    "smooth_triangle", "sor", "specular", "sphere", "spherical", "spherical_mapping", "spiral1", "spiral2",
    "spotlight", "spotted", "sqr", "sqrt", "statistics", "str", "strcmp", "strength",
    "strlen", "strlwr", "strupr", "sturm", "substr", "superellipsoid", "switch", "sys",
    "t", "tan", "tanh", "text", "texture", "texture_map", "tga", "thickness",
    "threshold", "tightness", "tile2", "tiles", "torus", "track", "transform", "translate",
    "transmit", "triangle", "triangle_wave", "true", "ttf", "turbulence", "turb_depth", "type",
    "u", "ultra_wide_angle", "undef", "union", "up", "use_color", "use_colour", "use_index",
    "u_steps", "v", "val", "variance", "vaxis_rotate", "vcross", "vdot", "version",
    "vlength", "vnormalize", "vrotate", "v_steps", "warning", "warp", "water_level", "waves",
    "while", "width", "wood", "wrinkles", "write", "x", "y", "yes",
    "z",
};

// The words POV-Ray 3.7 reserves beyond those above. Include files written
// for 3.5 to 3.7 use them (function, cells, srgb, ...); taken for declared
// names, they would be declared as not found and POV-Ray 3.7 would refuse
// the scene, although it renders the declaration itself even under
// #version 3.1.
const std::array<std::string_view, 151> kReservedWordsSince37 = {
    "accuracy", "albedo", "all_intersections", "altitude", "always_sample", "anisotropy", "aoi",
    "area_illumination", "ascii", "autostop", "b_spline", "bitwise_and", "bitwise_or", "bitwise_xor", "bmp",
    "bokeh", "cells", "charset", "circular", "clock_on", "collect", "conserve_energy", "contained_by", "coords",
    "cutaway_textures", "datetime", "defined", "deprecated", "dispersion", "dispersion_samples", "dist_exp",
    "double_illuminate", "dtag", "elseif", "evaluate", "expand_thresholds", "exr", "exterior", "face_indices",
    "facets", "fade_color", "fade_colour", "for", "form", "fresnel", "function", "gamma", "gather", "global",
    "global_lights", "gray", "hdr", "image_pattern", "importance", "inside", "inside_vector", "interior_texture",
    "internal", "isosurface", "jpeg", "julia", "light_group", "ln", "load_file", "magnet", "major_radius",
    "max_extent", "max_gradient", "max_sample", "max_trace", "maximum_reuse", "mesh2", "mesh_camera", "method",
    "metric", "min_extent", "mm_per_unit", "natural_spline", "no_bump_scale", "no_image", "no_radiosity",
    "no_reflection", "noise_generator", "normal_indices", "normal_vectors", "now", "number_of_sides",
    "number_of_tiles", "orient", "orientation", "ovus", "parallel", "parametric", "pass_through", "pattern",
    "pavement", "photons", "pigment_pattern", "polynomial", "precompute", "premultiplied", "pretrace_end",
    "pretrace_start", "prod", "projected_through", "save_file", "sblue", "select", "sgreen", "sint16be", "sint16le",
    "sint32be", "sint32le", "sint8", "size", "slope", "solid", "spacing", "sphere_sweep", "spline", "split_union",
    "square", "sred", "srgb", "srgbf", "srgbft", "srgbt", "steps", "subsurface", "sum", "target", "texture_list",
    "tiff", "tiling", "tolerance", "toroidal", "trace", "translucency", "triangular", "uint16be", "uint16le",
    "uint8", "use_alpha", "utf8", "uv_indices", "uv_mapping", "uv_vectors", "vertex_vectors", "vstr", "vturbulence",
    "xyz",
};

const std::array<std::string_view, 43> kStatementWords = {
    "background", "bicubic_patch", "blob", "box", "camera", "cone", "cubic", "cylinder", "difference",
    "disc", "height_field", "intersection", "julia_fractal", "light_source", "lathe", "merge", "mesh",
    "object", "plane", "poly", "polygon", "prism", "quartic", "quadric", "sky_sphere", "sor",
    "smooth_triangle", "sphere", "superellipsoid", "text", "torus", "triangle", "union",
    // Statements of scenes written for POV-Ray 3.5 to 3.7.
    "fog", "global_settings", "isosurface", "light_group", "mesh2", "ovus", "parametric", "polynomial",
    "rainbow", "sphere_sweep",
};

// Identifiers POV-Ray 3.7 defines itself for every scene (animation and
// picture size); scenes use them like reserved words.
const std::array<std::string_view, 8> kBuiltInIdentifiers = {
    "final_clock", "final_frame", "frame_number", "image_height", "image_width", "initial_clock", "initial_frame",
    "input_file_name",
};

template <size_t N>
bool Contains(const std::array<std::string_view, N>& words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

}  // namespace

CompatibilityEffect CompatibilityWordEffect(std::string_view word) {
    static const std::array<std::string_view, 4> refusedBy31 = {"halo", "atmosphere", "fade_distance", "fade_power"};
    static const std::array<std::string_view, 6> refusedBy30 = {"media",   "interior", "cubic_wave",
                                                                "poly_wave", "density", "reflection_exponent"};
    if (Contains(refusedBy31, word)) return CompatibilityEffect::RefusedBy31;
    if (Contains(refusedBy30, word)) return CompatibilityEffect::RefusedBy30;
    if (word == "brick" || word == "texture_map") return CompatibilityEffect::NeedsVersion30;
    return CompatibilityEffect::None;
}

bool IsImageFileType(std::string_view lowerCaseType) {
    static const std::array<std::string_view, 14> types = {"tga", "gif", "iff",  "ppm", "pgm", "png", "sys",
                                                           "df3", "jpeg", "tiff", "exr", "hdr", "bmp", "ttf"};
    return Contains(types, lowerCaseType);
}

bool IsImageFileExtension(std::string_view lowerCaseExtension) {
    static const std::array<std::string_view, 16> extensions = {"tga", "gif", "iff", "ppm", "pgm", "png", "sys", "df3",
                                                                "jpg", "jpeg", "tif", "tiff", "exr", "hdr", "bmp", "ttf"};
    return Contains(extensions, lowerCaseExtension);
}

bool IsStatementWord(std::string_view word) { return Contains(kStatementWords, word); }

bool IsReservedWord(std::string_view word) {
    static const std::unordered_set<std::string_view> words = [] {
        std::unordered_set<std::string_view> all(kReservedWords.begin(), kReservedWords.end());
        all.insert(kReservedWordsSince37.begin(), kReservedWordsSince37.end());
        all.insert(kBuiltInIdentifiers.begin(), kBuiltInIdentifiers.end());
        return all;
    }();
    return words.count(word) != 0;
}

}  // namespace sc
