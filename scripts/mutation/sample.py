"""A seeded sample of mutants, spread over files first and over rules within each file."""
import random


def interleave(groups):
    """One from each group in turn until all are used up."""
    order, queues = [], [list(g) for g in groups]
    while any(queues):
        for queue in queues:
            if queue:
                order.append(queue.pop(0))
    return order


def file_order(mutants, rng):
    """A file's mutants shuffled within each rule, then taken one rule after another."""
    rules = {}
    for mutant in sorted(mutants, key=lambda m: (m.line, m.edits)):
        rules.setdefault(mutant.rule, []).append(mutant)
    groups = []
    for rule in sorted(rules):
        rng.shuffle(rules[rule])
        groups.append(rules[rule])
    rng.shuffle(groups)
    return interleave(groups)


def sample(paths, mutants_of, count, seed):
    """count mutants (all when count is None) over paths, in round-robin over the files.

    mutants_of(path) is called only for the files the sample reaches, so a small sample reads few files.
    """
    rng = random.Random(seed)
    paths = sorted(paths)
    rng.shuffle(paths)
    queues, chosen = {}, []
    round_ = 0
    while count is None or len(chosen) < count:
        took = False
        for path in paths:
            if path not in queues:
                queues[path] = file_order(mutants_of(path), random.Random(f"{seed}:{path}"))
            if round_ < len(queues[path]):
                chosen.append(queues[path][round_])
                took = True
                if count is not None and len(chosen) == count:
                    break
        if not took:
            break
        round_ += 1
    return chosen
