"""examples/pyramid: a pyramid of crates for the mouse to push over."""
from .scene_writer import CAPTION, crate_mesh, finish, fmt, Mesh, rect, Scene


def write(root):
    s = Scene(root, "pyramid",
              "A pyramid of 36 crates that stands until the mouse pushes it.",
              "--ticks 120")
    s.comment("Stacking needs friction (it defaults to 0, and two shapes' frictions multiply:",
              "crates 0.8 on ground 1 gives 0.8 at the base) and enough solver iterations to",
              "settle the contacts of a tall stack; two substeps per frame keep it quiet.",
              "Move the mouse through the crates to knock them down; r builds the pyramid again.",
              "The push is the mouse's speed: scene_mouse_impulse_force scales it, and a jump",
              "longer than scene_mouse_impulse_force_max (say, the cursor entering the window)",
              "is ignored.")
    s.settings(fps=60, step_iterations=2, solver_iterations=30, gravity=(0, 600), damping=0.9,
               mouse_impulse_force=0.08, mouse_impulse_force_max=3000,
               scroller_text="A pyramid of crates -- it stands until you push it: move the "
               "mouse through it -- r builds it again",
               scroller_text_y=90, **CAPTION, scroller_text_color=(0.96, 0.93, 0.84, 1))
    ground = Mesh("Pyramid: the ground, drawn only")
    ground.poly("slate", rect(0, 700, 1024, 768)).poly("slate_light", rect(0, 700, 1024, 706))
    s.obj("Ground", (0, 0), mesh=s.mesh("ground.obj", ground),
          col_line=(-200, 706, 1224, 706, 6), friction=1)
    s.comment("Walls just outside the view keep pushed crates in sight.")
    s.obj("wall_left", (0, 0), col_line=(-6, -400, -6, 706, 6), friction=0.5)
    s.obj("wall_right", (0, 0), col_line=(1030, -400, 1030, 706, 6), friction=0.5)
    half = 22.0
    col = s.mesh("crate_col.obj", Mesh("Pyramid: crate collision square").poly(
        "wood", rect(-half, -half, half, half)), with_materials=False)
    colours = ["coral", "teal", "sky", "plum", "gold"]
    rows = 8
    s.comment(f"{rows} rows of crates, {fmt(2 * half)} units square, each row resting on the one "
              "below", "(declared touching, 2 units apart sideways).")
    n = 0
    for row in range(rows):
        count = rows - row
        y = 700 - half - row * 2 * half
        for c in range(count):
            x = 512 + (c - (count - 1) / 2) * (2 * half + 2)
            colour = colours[(row + c) % 5]
            s.obj(f"crate{n:02d}", (x, y), mesh=s.mesh(f"crate_{colour}.obj", crate_mesh(
                half, colour + "_dark", colour, f"Pyramid: a {colour} crate")), col_mesh=col,
                  mass=1, friction=0.8)
            n += 1
    finish(s)
