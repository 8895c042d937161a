"""examples/stress: the performance reference, 2,000 bodies pouring into a box."""
from .scene_writer import bar, finish, Mesh, rect, Scene


def write(root):
    s = Scene(root, "stress",
              "Stress test: 2,000 moving bodies pour into a box (performance reference).",
              "--ticks 100")
    s.comment("2,000 small bodies (squares of two collision triangles and single triangles)",
              "start in a grid, fall onto a row of deflectors and pile up in a box. Every",
              "frame steps them all once (one substep, 10 solver iterations) and draws them,",
              "so this scene measures the cost of the physics and the drawing. Friction 0.5.")
    s.settings(fps=60, step_iterations=1, solver_iterations=10, gravity=(0, 500), damping=0.9,
               mouse_impulse_force=0.05, mouse_impulse_force_max=2000,
               scroller_text="2,000 moving bodies -- the performance reference scene",
               scroller_text_y=40, scroller_text_scale=0.22, scroller_text_thickness=2,
               scroller_text_speed=120, scroller_text_color=(0.9, 0.9, 0.9, 1))
    box = Mesh("Stress: the box and the deflectors, drawn only")
    box.poly("slate_light", rect(0, 748, 1024, 768)).poly("slate_light", rect(0, 0, 8, 768))
    box.poly("slate_light", rect(1016, 0, 1024, 768))
    deflectors = []
    for i in range(6):
        x = 112 + i * 160
        deflectors.append((x - 40, 580, x + 40, 600) if i % 2 else (x - 40, 600, x + 40, 580))
    for x0, y0, x1, y1 in deflectors:
        box.poly("slate_light", bar(x0, y0, x1, y1, 10))
    s.obj("Box", (0, 0), mesh=s.mesh("box.obj", box))
    s.obj("floor", (0, 0), col_line=(0, 752, 1024, 752, 6), friction=0.5)
    s.obj("wall_left", (0, 0), col_line=(4, -300, 4, 752, 6), friction=0.5)
    s.obj("wall_right", (0, 0), col_line=(1020, -300, 1020, 752, 6), friction=0.5)
    for i, (x0, y0, x1, y1) in enumerate(deflectors):
        s.obj(f"deflector{i}", (0, 0), col_line=(x0, y0, x1, y1, 5), friction=0.5)
    colours = ["coral", "teal", "sky", "gold", "plum"]
    square = s.mesh("square_col.obj", Mesh("Stress: square collision").poly(
        "cream", rect(-6, -6, 6, 6)), with_materials=False)
    triangle = [(0, -7), (7, 5), (-7, 5)]
    tri_col = s.mesh("triangle_col.obj", Mesh("Stress: triangle collision").poly(
        "cream", triangle), with_materials=False)
    s.comment("The bodies: 50 columns by 40 rows, 19 by 12 units apart.")
    n = 0
    for row in range(40):
        for c in range(50):
            x = 40 + c * 19 + (6 if row % 2 else 0)
            y = 60 + row * 12
            colour = colours[(row // 2 + c) % 5]
            if (row + c) % 2:
                s.obj(f"b{n:04d}", (x, y), mesh=s.mesh(f"square_{colour}.obj", Mesh(
                    f"Stress: a {colour} square").poly(colour, rect(-6, -6, 6, 6))),
                      col_mesh=square, mass=0.2, friction=0.5)
            else:
                s.obj(f"b{n:04d}", (x, y), mesh=s.mesh(f"triangle_{colour}.obj", Mesh(
                    f"Stress: a {colour} triangle").poly(colour, triangle)),
                      col_mesh=tri_col, mass=0.2, friction=0.5)
            n += 1
    finish(s)
