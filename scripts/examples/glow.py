"""examples/glow: neon pendulums under the glow."""
import math

from .scene_writer import circle, finish, Mesh, rect, Scene


def write(root):
    s = Scene(root, "glow",
              "Glow showcase: twelve neon pendulums swing through a soft glow.",
              "--ticks 120")
    s.comment("scene_glow_enabled 1 draws the frame through the glow: the picture is blurred",
              "at eight sizes and the blurs are added over it. scene_glow_base is the weight of",
              "the first (sharpest) layer and scene_glow_mul the factor from one layer to the",
              "next, so 0.6 and 0.85 give a bright halo that fades slowly; try 0.3 for a",
              "subtle one. Bright colours on black glow best. The scroller text is part of the",
              "glowing picture; scene_scroller_text_color sets its colour.")
    s.settings(fps=60, step_iterations=8, solver_iterations=20, gravity=(0, 600), damping=1,
               glow_enabled=1, glow_base=0.6, glow_mul=0.85,
               mouse_impulse_force=0.03, mouse_impulse_force_max=2000,
               draw_rope_after_objects=0,
               scroller_text="~ Q U I L L M O O R ~  neon pendulums in a soft glow  ~",
               scroller_text_y=110, scroller_text_scale=0.45, scroller_text_thickness=4,
               scroller_text_shadow_dist=(4, 4), scroller_text_speed=160,
               scroller_text_color=(1.0, 0.35, 0.8, 1))
    rail = Mesh("Glow: the rail and the floor line, drawn only")
    rail.poly("neon_violet", rect(150, 146, 874, 152)).poly("neon_cyan", rect(40, 712, 984, 716))
    s.obj("Rail", (0, 0), mesh=s.mesh("rail.obj", rail))
    colours = ["neon_pink", "neon_cyan", "neon_lime", "neon_gold", "neon_violet", "neon_white"]
    rope_colours = {"neon_pink": (1, 0.25, 0.7, 0.8), "neon_cyan": (0.2, 0.95, 1, 0.8),
                    "neon_lime": (0.6, 1, 0.25, 0.8), "neon_gold": (1, 0.78, 0.2, 0.8),
                    "neon_violet": (0.65, 0.4, 1, 0.8), "neon_white": (0.92, 0.95, 1, 0.8)}
    s.comment("The bobs have no collision shape on purpose, so they pass through each",
              "other; hung on pins, they are not what quillmoor-check warns of.")
    s.comment("A pendulum wave: in 60 seconds pendulum k swings about 10 + k times, so the",
              "lengths are g (T / 2 pi)^2 for T = 60 / (10 + k). Each bob is a body without",
              "collision shape (they pass through each other), held by a pin joint to its",
              "point on the rail; the coloured string is a rope alongside it. Ropes need",
              "several substeps (8 here; 4 or more). Nothing damps the swing (damping 1).")
    for k in range(12):
        period = 60.0 / (10 + k)
        length = 600 * (period / (2 * math.pi)) ** 2
        pivot = (181 + k * 60, 150.0)
        angle = 0.4
        pos = (pivot[0] + length * math.sin(angle), pivot[1] + length * math.cos(angle))
        colour = colours[k % len(colours)]
        bob = Mesh(f"Glow: a {colour} bob").poly(colour, circle(14, 20))
        bob.poly("neon_white", circle(6, 12))
        s.obj(f"bob{k:02d}", pos, mesh=s.mesh(f"bob_{colour}.obj", bob), mass=1)
        s.joint("pin", f"bob{k:02d}", (0, 0), pivot)
        s.rope(f"bob{k:02d}", (0, 0), pivot, seg_len=25, seg_mass=0.002, thickness=2,
               color=rope_colours[colour])
    finish(s)
