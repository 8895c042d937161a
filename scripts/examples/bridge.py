"""examples/bridge: a rope bridge of planks, with balls rolling across it."""
import math

from .scene_writer import ball_mesh, CAPTION, circle, finish, fmt, Mesh, rect, Scene


def write(root):
    s = Scene(root, "bridge",
              "Rope bridge: planks joined by short ropes, with balls rolling across it.",
              "--ticks 150")
    s.comment("Ropes are chains of small bodies held together by pivot joints; they stretch",
              "unless the world is stepped several times per frame, so this scene asks for 8",
              "substeps (scene_step_iterations, 4 or more for any scene with ropes). Ropes",
              "collide with nothing: the planks carry the balls, the ropes hold the planks.")
    s.settings(fps=60, step_iterations=10, solver_iterations=30, gravity=(0, 500), damping=0.99,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               draw_rope_after_objects=0,
               scroller_text="A rope bridge -- three balls roll down the ramp and across -- "
               "push them back with the mouse, r starts again",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.99, 0.86, 0.5, 1))
    left_edge, right_edge, deck, drop = 232.0, 792.0, 434.0, 40.0
    s.comment("The left ledge is a ramp down to the bridge. Static objects (mass 0) collide",
              "through thick lines (radius 4); the rock is drawn by a separate mesh.")
    # The ramp curves from steep to the bridge's own slope, so a ball runs onto the bridge
    # instead of hitting it.
    def ramp_y(x):
        u = x / left_edge
        return 430 - 320 * (1 - u) ** 2 * (1 + 0.4 * u)

    ramp_x = [left_edge * i / 8 for i in range(9)]
    rock = Mesh("Rope bridge: the rocks on both sides, drawn only")
    # Convex pieces only: the reader fans each face from its first corner.
    for dy, colour in ((-4, "rock_dark"), (8, "rock")):
        for x0, x1 in zip(ramp_x, ramp_x[1:]):
            if dy > 0:
                x1 = min(x1, left_edge - 8)
            rock.poly(colour, [(x0, ramp_y(x0) + dy), (x1, ramp_y(x1) + dy), (x1, 768), (x0, 768)])
    for x0, x1 in zip(ramp_x, ramp_x[1:]):
        rock.poly("grass", [(x0, ramp_y(x0) - 6), (x1, ramp_y(x1) - 6), (x1, ramp_y(x1) + 2),
                            (x0, ramp_y(x0) + 2)])
    right = [((right_edge, 466), (850, 466)), ((850, 466), (880, 506)), ((880, 506), (1000, 506)),
             ((1000, 340), (1024, 340))]
    for (x0, y0), (x1, y1) in right:
        rock.poly("rock_dark", [(x0, y0), (x1, y1), (x1, 768), (x0, 768)])
    for (x0, y0), (x1, y1) in right:
        x0, x1 = x0 + (8 if x0 == right_edge else -6), (1024 if x1 == 1024 else x1 - 6)
        if x1 == 994:
            x1 = 1010
        rock.poly("rock", [(x0, y0 + 10), (x1, y1 + 10), (x1, 768), (x0, 768)])
    rock.poly("grass", [(right_edge, 464), (850, 464), (850, 472), (right_edge, 472)])
    s.obj("Rocks", (0, 0), mesh=s.mesh("rocks.obj", rock))
    ledges = [(f"ramp{i}", (x0, ramp_y(x0), x1, ramp_y(x1)))
              for i, (x0, x1) in enumerate(zip(ramp_x, ramp_x[1:]))]
    ledges += [("ledge_right", (right_edge, 470, 850, 470)), ("pit_slope", (850, 470, 880, 510)),
               ("pit_floor", (880, 510, 1004, 510)), ("pit_wall", (1004, 510, 1004, 340))]
    s.comment("The right ledge, 40 units lower, ends in a pit that keeps the balls once they",
              "have crossed.")
    for name, (x0, y0, x1, y1) in ledges:
        s.obj(name, (0, 0), col_line=(x0, y0, x1, y1, 4), friction=3)
    planks, width, sag = 14, 36.0, 30.0
    gap = (right_edge - left_edge - planks * width) / (planks + 1)
    s.comment(f"{planks} planks, {fmt(width)} units wide, hang on a curve {fmt(sag)} units deep,",
              "so the bridge starts near its resting shape. Each plank collides through a",
              "line as long as itself; short ropes tie each plank's ends to its neighbours.")
    plank_mesh = s.mesh("plank.obj", Mesh("Rope bridge: a plank").poly(
        "wood_dark", rect(-width / 2, -5, width / 2, 5)).poly(
        "wood", rect(-width / 2 + 2, -3, width / 2 - 2, 3)))

    def deck_y(x):
        u = (x - left_edge) / (right_edge - left_edge)
        return deck + drop * u + sag * 4 * u * (1 - u)

    xs = [left_edge + gap * (i + 1) + width * (i + 0.5) for i in range(planks)]
    for i, x in enumerate(xs):
        s.obj(f"plank{i:02d}", (x, deck_y(x)), mesh=plank_mesh,
              col_line=(-width / 2 + 4, 0, width / 2 - 4, 0, 5), mass=1, friction=3)
    rope = dict(seg_len=4, seg_mass=0.1, thickness=3, color=(0.85, 0.75, 0.55, 1))
    s.comment("The ropes: the first and last tie a plank to a world point at the ledge's edge.")
    s.rope("plank00", (-width / 2, 0), (left_edge, deck), **rope)
    for i in range(planks - 1):
        s.rope(f"plank{i:02d}", (width / 2, 0), (-width / 2, 0), b=f"plank{i + 1:02d}", **rope)
    s.rope(f"plank{planks - 1:02d}", (width / 2, 0), (right_edge, deck + drop), **rope)
    s.comment("Three balls: one on the ramp, two starting above the view and dropping onto it",
              "later (falling into view, which quillmoor-check accepts), so they cross",
              "one at a time. Friction multiplies: the balls have 0.3 and the",
              "ground and planks 3, so a ball grips the planks (0.9) and rolls, while two",
              "balls that touch hardly brake each other (0.09).")
    for i, (x, fall, radius, mass, colour) in enumerate([(75, 0, 22, 1.5, "gold"),
                                                          (30, 200, 20, 1.2, "sky"),
                                                          (30, 420, 18, 1.0, "coral")]):
        slope = (ramp_y(x + 1) - ramp_y(x - 1)) / 2
        n = math.hypot(1, slope)
        pos = (x + slope / n * (radius + 5), ramp_y(x) - (radius + 5) / n - fall)
        s.obj(f"ball{i + 1}", pos,
              mesh=s.mesh(f"ball_{colour}.obj", ball_mesh(radius, 20, colour + "_dark", colour,
                                                          f"Rope bridge: a {colour} ball")),
              col_mesh=s.mesh(f"ball{i + 1}_col.obj", Mesh("Rope bridge: a ball's collision").poly(
                  colour, circle(radius, 20, turn=0.5)), with_materials=False),
              mass=mass, friction=0.3)
    finish(s)
